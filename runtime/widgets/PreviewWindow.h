#pragma once

#include <QDialog>

#include <functional>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QScrollArea;
class QSpinBox;

namespace qaveq {

namespace report {
class PageList;
}

// Shows a report's pages as they will print: one page at a time at a zoom,
// thumbnails of all pages beside it, and the buttons that print, export,
// write a PDF or e-mail it. With an output handler the output buttons work
// while the preview stays open; without one they close it and the caller
// does what was asked.
class PreviewWindow : public QDialog
{
    Q_OBJECT

public:
    enum class Zoom { Percent, PageWidth, WholePage };
    enum class Output { Export, Pdf, Email };

    PreviewWindow(const report::PageList &pages, const QString &title, QWidget *parent = nullptr);

    void setOutputHandler(std::function<void(Output)> handler) { m_output = std::move(handler); }
    void setZoom(Zoom mode, int percent = 100);
    Zoom zoomMode() const { return m_mode; }
    int zoomPercent() const { return m_percent; }
    // A report without a text copy shows no export button.
    void setExportOffered(bool offered);
    void showPage(int index);
    int currentPage() const { return m_current; }
    // The page's drawing scale: screen pixels per page unit.
    double scale() const;

    // What the user pressed to close the preview.
    bool printRequested() const { return m_print; }
    bool exportRequested() const { return m_export; }
    bool pdfRequested() const { return m_pdf; }
    bool emailRequested() const { return m_email; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    class PageWidget;
    void finish(bool *flag);
    void zoomChosen(int index);
    // One step up (1) or down (-1) the list of percentages; 0 is 100%.
    void stepZoom(int step);
    void renderThumbnails();
    void updatePage();

    const report::PageList &m_pages;
    int m_current = 0;
    Zoom m_mode = Zoom::Percent;
    int m_percent = 100;
    bool m_print = false, m_export = false, m_pdf = false, m_email = false;
    std::function<void(Output)> m_output;
    QAction *m_exportAction = nullptr;
    QListWidget *m_thumbnails;
    QScrollArea *m_area;
    PageWidget *m_page;
    QSpinBox *m_pageNumber;
    QLabel *m_pageCount;
    QComboBox *m_zoom;
    int m_thumbnailsDone = 0;
};

} // namespace qaveq
