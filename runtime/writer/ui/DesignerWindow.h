#pragma once

#include "runtime/writer/DesignModel.h"

#include <QDialog>

#include <functional>

class QAction;
class QLabel;
class QTreeWidget;

namespace qaveq {
class FileChooser;
class Prompter;
} // namespace qaveq

namespace qaveq::writer {

class DesignCanvas;
class PropertyPanel;

// The report designer: the catalogue's files and fields on the left (drag a
// field onto a band), the bands in the middle, the properties of what is
// selected on the right; a toolbar adds objects and bands, undoes and
// redoes, saves, opens and previews the report over the company's data.
class DesignerWindow : public QDialog
{
    Q_OBJECT

public:
    struct Services
    {
        Prompter &prompter;
        FileChooser &files;
        // Runs the report as it stands over the company's data and shows
        // its pages in the preview.
        std::function<void(const ReportDocument &)> preview;
        // The folder report files are offered in.
        QString folder;
    };

    DesignerWindow(Catalogue catalogue, ReportDocument document, QString path, Services services,
                   QWidget *parent = nullptr);
    ~DesignerWindow() override;

    DesignModel &model() { return m_model; }
    const DesignModel &model() const { return m_model; }
    DesignCanvas *canvas() const { return m_canvas; }
    QTreeWidget *tree() const { return m_tree; }
    QString path() const { return m_path; }

    bool save();
    bool saveAs();
    // Opens another report file of the same type in place of this one.
    bool openReport();
    void addObject(ObjectKind kind);

    // Closing asks whether to save a changed report.
    void done(int result) override;

private:
    void buildTree();
    QWidget *buildToolBar();
    void changed();
    bool writeTo(const QString &path);
    void addBand();
    void removeBand();
    void tell(const QString &text);

    DesignModel m_model;
    QString m_path;
    Services m_services;
    QTreeWidget *m_tree;
    DesignCanvas *m_canvas;
    PropertyPanel *m_properties;
    QLabel *m_status;
    QAction *m_undo, *m_redo;
};

} // namespace qaveq::writer
