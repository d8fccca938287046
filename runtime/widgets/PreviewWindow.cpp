#include "PreviewWindow.h"

#include "HelpViewer.h"

#include "runtime/report/PageList.h"

#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

constexpr int ThumbnailWidth = 110;

// Paints a page image onto a device scaled to `target`, on white paper.
void paintPage(QPainter &painter, const report::PageImage &page, const QRectF &target)
{
    painter.fillRect(target, Qt::white);
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / page.size.width(), target.height() / page.size.height());
    page.paint(painter);
    painter.restore();
}

const struct
{
    const char16_t *label;
    PreviewWindow::Zoom mode;
    int percent;
} ZoomChoices[] = {
    {u"Whole Page", PreviewWindow::Zoom::WholePage, 0},
    {u"Page Width", PreviewWindow::Zoom::PageWidth, 0},
    {u"50%", PreviewWindow::Zoom::Percent, 50},
    {u"75%", PreviewWindow::Zoom::Percent, 75},
    {u"100%", PreviewWindow::Zoom::Percent, 100},
    {u"125%", PreviewWindow::Zoom::Percent, 125},
    {u"150%", PreviewWindow::Zoom::Percent, 150},
    {u"200%", PreviewWindow::Zoom::Percent, 200},
};

} // namespace

class PreviewWindow::PageWidget : public QWidget
{
public:
    explicit PageWidget(QWidget *parent)
        : QWidget(parent)
    {}

    void setImage(std::optional<report::PageImage> page) { m_image = std::move(page); }
    // The page's size in page units; a letter page while there is none.
    QSizeF pageSize() const { return m_image ? m_image->size : QSizeF(6120, 7920); }
    void setScale(double scale)
    {
        m_scale = scale;
        setFixedSize((pageSize() * scale).toSize() + QSize(2 * Border, 2 * Border));
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Dark));
        if (!m_image)
            return;
        const QRectF paper(QPointF(Border, Border), m_image->size * m_scale);
        painter.fillRect(paper.translated(4, 4), QColor(0, 0, 0, 60));
        paintPage(painter, *m_image, paper);
    }

private:
    static constexpr int Border = 16;
    std::optional<report::PageImage> m_image;
    double m_scale = 1;
};

PreviewWindow::PreviewWindow(const report::PageList &pages, const QString &title, QWidget *parent)
    : QDialog(parent)
    , m_pages(pages)
{
    setWindowTitle(title.isEmpty() ? u"Print Preview"_s : title + u" - Print Preview"_s);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    layout->addWidget(bar);
    QAction *print = bar->addAction(QIcon::fromTheme(u"document-print"_s), u"&Print..."_s);
    print->setShortcut(QKeySequence::Print);
    print->setToolTip(u"Print this report"_s);
    connect(print, &QAction::triggered, this, [this] { finish(&m_print); });
    bar->addSeparator();

    QAction *first =
        bar->addAction(style()->standardIcon(QStyle::SP_MediaSkipBackward), u"First"_s);
    QAction *previous =
        bar->addAction(style()->standardIcon(QStyle::SP_MediaSeekBackward), u"Previous"_s);
    for (QAction *action : {first, previous})
        bar->widgetForAction(action)->setProperty("toolButtonStyle", Qt::ToolButtonIconOnly);
    m_pageNumber = new QSpinBox(this);
    m_pageNumber->setRange(1, std::max(1, pages.count()));
    m_pageNumber->setPrefix(u"Page "_s);
    m_pageCount = new QLabel(u" of %1 "_s.arg(pages.count()), this);
    bar->addWidget(m_pageNumber);
    bar->addWidget(m_pageCount);
    QAction *next = bar->addAction(style()->standardIcon(QStyle::SP_MediaSeekForward), u"Next"_s);
    QAction *last = bar->addAction(style()->standardIcon(QStyle::SP_MediaSkipForward), u"Last"_s);
    for (QAction *action : {next, last})
        bar->widgetForAction(action)->setProperty("toolButtonStyle", Qt::ToolButtonIconOnly);
    // The page keys turn pages wherever the focus is.
    first->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Home));
    previous->setShortcut(QKeySequence(Qt::Key_PageUp));
    next->setShortcut(QKeySequence(Qt::Key_PageDown));
    last->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_End));
    connect(first, &QAction::triggered, this, [this] { showPage(0); });
    connect(previous, &QAction::triggered, this, [this] { showPage(m_current - 1); });
    connect(next, &QAction::triggered, this, [this] { showPage(m_current + 1); });
    connect(last, &QAction::triggered, this, [this] { showPage(m_pages.count() - 1); });
    connect(m_pageNumber, &QSpinBox::valueChanged, this,
            [this](int value) { showPage(value - 1); });
    bar->addSeparator();

    m_zoom = new QComboBox(this);
    m_zoom->setToolTip(u"Zoom"_s);
    for (const auto &choice : ZoomChoices)
        m_zoom->addItem(QString::fromUtf16(choice.label));
    bar->addWidget(m_zoom);
    connect(m_zoom, &QComboBox::activated, this, &PreviewWindow::zoomChosen);
    // The desktop's zoom keys step through the percentages; Ctrl+0 is 100%.
    const std::pair<QKeySequence, int> zoomKeys[] = {{QKeySequence::ZoomIn, +1},
                                                     {QKeySequence(Qt::CTRL | Qt::Key_Equal), +1},
                                                     {QKeySequence::ZoomOut, -1},
                                                     {QKeySequence(Qt::CTRL | Qt::Key_0), 0}};
    for (const auto &[key, step] : zoomKeys) {
        auto *zoomKey = new QAction(this);
        zoomKey->setShortcut(key);
        zoomKey->setShortcutContext(Qt::WindowShortcut);
        addAction(zoomKey);
        connect(zoomKey, &QAction::triggered, this, [this, step] { stepZoom(step); });
    }
    bar->addSeparator();

    // The three outputs besides printing.
    const struct
    {
        QString text, tip;
        QStyle::StandardPixmap icon;
        bool *flag;
        Output output;
        QKeyCombination key;
    } outputs[] = {
        {u"Export"_s, u"Export This Report"_s, QStyle::SP_FileDialogDetailedView, &m_export,
         Output::Export, Qt::ALT | Qt::Key_X},
        {u"PDF"_s, u"Generate PDF File"_s, QStyle::SP_FileIcon, &m_pdf, Output::Pdf,
         Qt::ALT | Qt::Key_D},
        {u"Email"_s, u"Email Report (pdf)"_s, QStyle::SP_DirLinkIcon, &m_email, Output::Email,
         Qt::ALT | Qt::Key_M},
    };
    for (const auto &output : outputs) {
        QAction *action = bar->addAction(style()->standardIcon(output.icon), output.text);
        action->setToolTip(output.tip);
        if (output.output == Output::Export)
            m_exportAction = action;
        action->setShortcut(output.key);
        connect(action, &QAction::triggered, this, [this, flag = output.flag, o = output.output] {
            if (!m_output) {
                finish(flag);
                return;
            }
            *flag = true;
            m_output(o);
        });
    }
    bar->addSeparator();
    QAction *close =
        bar->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton), u"&Close"_s);
    connect(close, &QAction::triggered, this, &QDialog::reject);

    // The thumbnails take their own width and the page all the rest.
    auto *pagesRow = new QHBoxLayout;
    pagesRow->setSpacing(0);
    m_thumbnails = new QListWidget(this);
    m_thumbnails->setIconSize(QSize(ThumbnailWidth, ThumbnailWidth * 4 / 3));
    m_thumbnails->setSpacing(4);
    m_thumbnails->setUniformItemSizes(true);
    m_thumbnails->setFixedWidth(ThumbnailWidth + 2 * 4 + 2 * m_thumbnails->frameWidth() +
                                style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8);
    for (int i = 0; i < pages.count(); ++i)
        m_thumbnails->addItem(new QListWidgetItem(QString::number(i + 1)));
    connect(m_thumbnails, &QListWidget::currentRowChanged, this, &PreviewWindow::showPage);

    m_area = new QScrollArea(this);
    m_area->setAlignment(Qt::AlignCenter);
    m_area->setBackgroundRole(QPalette::Dark);
    m_page = new PageWidget(m_area);
    m_area->setWidget(m_page);
    pagesRow->addWidget(m_thumbnails);
    pagesRow->addWidget(m_area, 1);
    layout->addLayout(pagesRow, 1);

    // Large enough that a landscape page at 100% is seen whole, as far as
    // the screen allows.
    QSize wanted(1380, 960);
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        wanted = wanted.boundedTo(screen->availableGeometry().size() - QSize(40, 60));
    resize(wanted);
    HelpViewer::bindF1(this, u"html/Report_Preview.htm"_s);
    m_area->setFocus();
    setZoom(Zoom::PageWidth);
    showPage(0);
    // Thumbnails are drawn a few at a time, so a long report opens at once.
    QTimer::singleShot(0, this, &PreviewWindow::renderThumbnails);
}

void PreviewWindow::finish(bool *flag)
{
    *flag = true;
    accept();
}

void PreviewWindow::renderThumbnails()
{
    const int until = std::min(m_pages.count(), m_thumbnailsDone + 8);
    for (; m_thumbnailsDone < until; ++m_thumbnailsDone) {
        const std::optional<report::PageImage> page = m_pages.page(m_thumbnailsDone);
        if (!page)
            continue;
        const QSizeF size = page->size.scaled(m_thumbnails->iconSize(), Qt::KeepAspectRatio);
        QPixmap pixmap(size.toSize());
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        paintPage(painter, *page, QRectF(QPointF(0, 0), size));
        painter.setPen(Qt::gray);
        painter.drawRect(QRectF(QPointF(0, 0), size).adjusted(0, 0, -1, -1));
        painter.end();
        m_thumbnails->item(m_thumbnailsDone)->setIcon(QIcon(pixmap));
    }
    if (m_thumbnailsDone < m_pages.count())
        QTimer::singleShot(0, this, &PreviewWindow::renderThumbnails);
}

double PreviewWindow::scale() const
{
    const QSizeF size = m_page->pageSize();
    const QSize viewport = m_area->viewport()->size() - QSize(40, 40);
    switch (m_mode) {
    case Zoom::PageWidth:
        return viewport.width() / size.width();
    case Zoom::WholePage:
        return std::min(viewport.width() / size.width(), viewport.height() / size.height());
    case Zoom::Percent:
        break;
    }
    return m_percent / 100.0 * logicalDpiX() / report::UnitsPerInch;
}

void PreviewWindow::setExportOffered(bool offered)
{
    m_exportAction->setVisible(offered);
    m_exportAction->setEnabled(offered);
}

void PreviewWindow::setZoom(Zoom mode, int percent)
{
    m_mode = mode;
    m_percent = percent;
    for (int i = 0; i < int(std::size(ZoomChoices)); ++i)
        if (ZoomChoices[i].mode == mode &&
            (mode != Zoom::Percent || ZoomChoices[i].percent == percent))
            m_zoom->setCurrentIndex(i);
    if (mode == Zoom::Percent && m_zoom->currentText() != u"%1%"_s.arg(percent)) {
        m_zoom->addItem(u"%1%"_s.arg(percent));
        m_zoom->setCurrentIndex(m_zoom->count() - 1);
    }
    updatePage();
}

void PreviewWindow::stepZoom(int step)
{
    if (step == 0) {
        setZoom(Zoom::Percent, 100);
        return;
    }
    // From the zoom shown now to the next percentage in the list.
    const int now = int(std::lround(scale() * report::UnitsPerInch * 100.0 / logicalDpiX()));
    int chosen = step > 0 ? 0 : 1000;
    for (const auto &choice : ZoomChoices) {
        if (choice.mode != Zoom::Percent)
            continue;
        if (step > 0 && choice.percent > now && (chosen == 0 || choice.percent < chosen))
            chosen = choice.percent;
        if (step < 0 && choice.percent < now && (chosen == 1000 || choice.percent > chosen))
            chosen = choice.percent;
    }
    if (chosen != 0 && chosen != 1000)
        setZoom(Zoom::Percent, chosen);
}

void PreviewWindow::zoomChosen(int index)
{
    if (index < int(std::size(ZoomChoices)))
        setZoom(ZoomChoices[index].mode, ZoomChoices[index].percent);
    else
        setZoom(Zoom::Percent, m_zoom->itemText(index).chopped(1).toInt());
}

void PreviewWindow::showPage(int index)
{
    if (m_pages.isEmpty() || index < 0 || index >= m_pages.count())
        return;
    m_current = index;
    {
        const QSignalBlocker blockSpin(m_pageNumber);
        const QSignalBlocker blockList(m_thumbnails);
        m_pageNumber->setValue(index + 1);
        m_thumbnails->setCurrentRow(index);
    }
    // Read once per page shown; zooming and resizing only rescale it.
    m_page->setImage(m_pages.page(index));
    updatePage();
    m_area->verticalScrollBar()->setValue(0);
}

void PreviewWindow::updatePage()
{
    m_page->setScale(scale());
}

void PreviewWindow::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (m_mode != Zoom::Percent)
        updatePage();
}

} // namespace qaveq
