#pragma once

#include "transfer/ImportLayout.h"

#include "data/Session.h"
#include "data/suite/JobCostFiles.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace qaveq {

class FileChooser;
class Prompter;

// UpdateEQLogImportItem, "Changing an Import Item": what one column holds
// and, for fixed-position files, how long it is.
class ImportItemForm : public QDialog
{
    Q_OBJECT

public:
    // `choices`: the contents a column may hold (ImportLayout::contentsChoices).
    ImportItemForm(const ImportLayout::Row &row, const QStringList &choices,
                   QWidget *parent = nullptr);
    ImportLayout::Row row() const;
    QComboBox &contents() const { return *m_contents; }
    QSpinBox &length() const { return *m_length; }

private:
    ImportLayout::Row m_row;
    QComboBox *m_contents;
    QSpinBox *m_length;
};

// UpdateEQLogImport, "Equipment Log Import Source": a source's name, file
// format, date format, file and header flag, and its columns as a list that
// the move buttons put in order. OK writes the layout text and saves; in
// delete mode the source is shown unchangeable and OK deletes it.
class ImportSourceForm : public QDialog
{
    Q_OBJECT

public:
    // Opens the item form for a row; the edited row, or nothing when cancelled.
    using ItemEditor = std::function<std::optional<ImportLayout::Row>(const ImportLayout::Row &)>;

    ImportSourceForm(data::Session &session, Prompter &prompter, FileChooser &files,
                     data::Request request, JCLimits source, QWidget *parent = nullptr);

    void setItemEditor(ItemEditor editor) { m_editItem = std::move(editor); }
    const JCLimits &source() const { return m_source; }
    const QList<ImportLayout::Row> &rows() const { return m_rows; }
    QTableWidget &list() const { return *m_list; }
    QLineEdit &title() const { return *m_title; }
    QCheckBox &header() const { return *m_header; }
    QPushButton &button(const QString &text) const;
    int highlighted() const;

    void move(int (*how)(QList<ImportLayout::Row> &, int));
    void addItem();
    void changeItem();
    void deleteItem();
    void chooseFile();
    // Saves the source; in delete mode removes it once the user confirms.
    void accept() override;

private:
    QChar format() const;
    void remove();
    void showRows(int highlight);

    data::Session &m_session;
    Prompter &m_prompter;
    FileChooser &m_files;
    data::Request m_request;
    JCLimits m_source;
    QList<ImportLayout::Row> m_rows;
    ItemEditor m_editItem;
    QLineEdit *m_title;
    QButtonGroup *m_format;
    QComboBox *m_dateFormat;
    QLineEdit *m_file;
    QCheckBox *m_header;
    QTableWidget *m_list;
};

} // namespace qaveq
