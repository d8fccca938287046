#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <memory>

namespace qaveq::report {

class PageList;

// Turns a report's page images into PDF 1.4 files, one PDF page per page
// image at the image's own size. A generation runs one page per step, so that
// a window can drive it from a timer and honour Cancel between pages; the
// command line runs it straight through.
//
// Output files are written beside their final name and take that name only
// when complete: a cancelled or failed generation leaves no output file.
class PdfGenerator
{
public:
    enum class Result { Produced, NothingToDo, Cancelled, Failed };
    // The document information entries, in their numbered order.
    enum InfoEntry { Title, Author, Subject, Keywords, Creator, InfoEntries };

    PdfGenerator();
    ~PdfGenerator();
    PdfGenerator(const PdfGenerator &) = delete;
    PdfGenerator &operator=(const PdfGenerator &) = delete;

    // Prepares a generation: every setting back to its default, then the
    // output. A name without folder goes into `folder` (the current folder
    // when none is given, never a shared temporary one); a name without
    // extension gets ".pdf".
    void setOutput(const QString &fileName, const QString &folder = {});
    void setDocumentInfo(InfoEntry entry, const QString &text);
    void setViewWhenDone(bool view) { m_viewWhenDone = view; }
    bool viewWhenDone() const { return m_viewWhenDone; }
    QString outputFileName() const { return m_outputFile; }

    // Starts generating `pages`, split into files of `pagesPerFile` pages when
    // that is above 0. False when there is nothing to do (no pages, no output
    // name).
    bool begin(const PageList &pages, int pagesPerFile = 0);
    // Adds the next page; false once the generation is over (see result()).
    bool step();
    // Stops the generation and removes what it wrote.
    void cancel();
    Result generate(const PageList &pages, int pagesPerFile = 0);

    Result result() const { return m_result; }
    QString error() const { return m_error; }
    QStringList outputFiles() const { return m_written; }

    // What a status window shows of the generation under way.
    QString statusText() const;
    QString pageText() const;
    int percent() const;

    // Clears every setting, list and flag.
    void reset();

    // The files a split generation writes: the base name, "_" and the file's
    // number with leading zeros to one digit more than log10 of the file count.
    static QStringList splitFileNames(const QString &fileName, int pageCount, int pagesPerFile);

private:
    struct Document;
    int pagesPerBatch() const; // pages of a full batch
    int pagesInBatch() const;  // pages of the current batch
    bool openDocument();
    bool finishDocument();
    void fail(const QString &error);
    void discard();

    QString m_outputFile;
    std::array<QString, InfoEntries> m_info;
    bool m_viewWhenDone = false;

    const PageList *m_pages = nullptr;
    QStringList m_targets; // output file of each batch
    int m_pagesPerFile = 0;
    int m_batch = 0;
    int m_pageInBatch = 0; // pages of the current batch done
    std::unique_ptr<Document> m_document;
    QStringList m_written;
    Result m_result = Result::NothingToDo;
    QString m_error;
};

} // namespace qaveq::report
