#pragma once

#include "KeyedListModel.h"

#include "data/Session.h"

#include <QDialog>
#include <QFutureWatcher>
#include <QMap>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace qaveq {

class FileChooser;
class HeaderSorter;
class Prompter;

// A list window over one keyed file, declared rather than painted: its
// columns, its key orders and the form that edits its records. It works with
// the suite's globals: a list called to select ("&Select" enabled) leaves the
// chosen record in the file's buffer and answers completed; its form is called
// with the request (insert, change, delete, view) and the record in the buffer.
class ListWindow : public QDialog
{
    Q_OBJECT

public:
    struct KeyChoice
    {
        QString label;        // "by Account"
        QString key;          // "KeyAccount"
        QString locatorField; // the key field the locator types into; empty: no locator
    };

    struct Definition
    {
        QString procedure; // the procedure's name: the list layout is kept under it
        QString title;
        QString file;
        QList<KeyChoice> keys;
        QList<KeyedListModel::Column> columns;
        QList<data::FieldValue> rangeFrom = {}; // limits on the first key's leading fields
        QList<data::FieldValue> rangeTo = {};
        QString form = {}; // procedure called to insert, change, delete and view; empty: none
        // Where "Send To" offers to write the list, in the application-data folder.
        QString exportFolder = QStringLiteral("Korvalis");
        // The screen's help topic ("html/EC_Cost_Categories.htm"); empty: no Help button.
        QString helpTopic = {};
        // Buttons of the screen's own ("Apply to All", "Training Video"...).
        QList<std::pair<QString, std::function<void()>>> buttons = {};
        // Which of the standard buttons that call the form the list shows.
        QList<data::Request> formButtons = {data::Request::Insert, data::Request::Change,
                                            data::Request::Delete, data::Request::View};
        // By a button's text: its hint, and what a right click on it offers
        // (at that point of the screen).
        struct ButtonExtra
        {
            QString tip = {};
            std::function<void(const QPoint &global)> rightClick = {};
        };
        QMap<QString, ButtonExtra> buttonExtras = {};
        // Check boxes under the list ("Show Active Equipment"): text, whether
        // checked, and what a change does.
        struct Check
        {
            QString text;
            bool checked;
            std::function<void(bool)> toggled;
        };
        QList<Check> checks = {};
        // Conditions the list opens with.
        QList<data::Filter> filters = {};
        // Runs each call of the form: may refuse it (false, without calling
        // `form`), work before it or wrap it; answers whether the list
        // changed. The highlighted record is in the buffer.
        std::function<bool(data::Request, const std::function<bool()> &form)> formRunner = {};
    };

    using ProcedureCaller = std::function<void(const QString &procedure)>;

    ListWindow(Definition definition, data::Session &session, Prompter &prompter,
               ProcedureCaller caller = {}, QWidget *parent = nullptr);
    // A count still being made is waited for: no work of a list outlives it.
    ~ListWindow() override;

    // Opens the window modally and sets the suite's response when it closes.
    void run();

    KeyedListModel &model() { return *m_model; }
    QTableView &view() { return *m_view; }
    // The record count as shown; waits for a count still being made.
    QString countText();
    // What the locator does with `text`: moves to the first entry at or after
    // it in the column the list is ordered by (the first sorted heading, or
    // the sort key's locator field).
    void locate(const QString &text);
    // Highlights the entry whose key locator field holds `text` (a record
    // found or added elsewhere), in whatever order the list is shown.
    void find(const QString &text);
    // The column sorter on the list's headings, with its order kept per user
    // and list.
    HeaderSorter &sorter() { return *m_sorter; }
    void selectRow(int row);
    // The highlighted record into the buffer; answers completed and closes.
    void choose();
    // The highlighted record into the file's buffer; false when none is.
    bool loadHighlighted();
    // Calls the form with the request; for change, delete and view with the
    // highlighted record in the buffer.
    void callForm(data::Request request);
    // Asks for a file and writes the list's rows to it: CSV, or tab-separated
    // text for a name ending in ".txt".
    void sendTo();
    // Where sendTo asks for its file; the desktop's dialog unless set.
    void setFileChooser(FileChooser *chooser) { m_fileChooser = chooser; }
    // Back to the designed column widths.
    void resetLayout();
    // New conditions: the list is read again at the located text.
    void setFilters(QList<data::Filter> filters);
    // Reads the list again (after work done elsewhere), keeping the highlighted row.
    void refresh();
    // The step locator: a key typed in the list moves to the next entry whose
    // located field starts with it.
    void step(QChar key);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void done(int result) override;

private:
    void buildUi();
    void addExtras(QPushButton *button);
    // The sort order's locator, or null when it has none.
    const KeyChoice *locatorKey() const;
    // The field the locator finds by: the first sorted heading's while the
    // list is sorted by its headings, else the sort key's locator field.
    struct Locator
    {
        QString field;
        QString heading;
        bool descending = false;
        bool keyed = true; // in key order: a far entry is reached by the key
    };
    std::optional<Locator> locator() const;
    // The headings' sort into the list's order; the highlighted entry stays
    // highlighted where it is read.
    void applySort();
    void showLocatorColumn();
    void updateCount();
    // The user's "preserve window locations": saved layouts are kept and
    // applied only while it is on.
    bool preservesLayout() const;
    void applyLayout();
    void saveLayout();
    void showContextMenu(const QPoint &position);
    int currentRow() const;
    // The highlighted row's whole record into the file's buffer.
    bool loadBuffer(int row);

    Definition m_definition;
    data::Session &m_session;
    Prompter &m_prompter;
    ProcedureCaller m_caller;
    bool m_selecting = false;
    KeyedListModel *m_model = nullptr;
    QTableView *m_view = nullptr;
    HeaderSorter *m_sorter = nullptr;
    QComboBox *m_order = nullptr;
    QLabel *m_locatorLabel = nullptr;
    QLineEdit *m_locator = nullptr;
    QLabel *m_count = nullptr;
    // Why the lookup opened; while it is set, nothing is highlighted until the user chooses.
    QString m_reason;
    QFutureWatcher<qint64> *m_counting = nullptr; // the count being made, if any
    bool m_countOnShow = true; // the opening count waits until the page is on screen
    QPushButton *m_select = nullptr;
    FileChooser *m_fileChooser = nullptr;
};

} // namespace qaveq
