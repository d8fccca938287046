#include "PdfGenerator.h"

#include "PageList.h"

#include "core/OutputFile.h"
#include "core/StopRequest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>

using namespace Qt::StringLiterals;

namespace qaveq::report {

struct PdfGenerator::Document
{
    OutputFile file;
    std::unique_ptr<QPdfWriter> writer;
    QPainter painter;
    bool started = false;
};

namespace {

// The document information as XMP, which PDF readers show as the document's
// properties.
QByteArray xmpMetadata(const std::array<QString, PdfGenerator::InfoEntries> &info)
{
    QString xmp = uR"(<?xpacket begin="" id="W5M0MpCehiHzreSzNTczkc9d"?>
<x:xmpmeta xmlns:x="adobe:ns:meta/"><rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#">
<rdf:Description rdf:about="" xmlns:dc="http://purl.org/dc/elements/1.1/" xmlns:pdf="http://ns.adobe.com/pdf/1.3/" xmlns:xmp="http://ns.adobe.com/xap/1.0/">
)"_s;
    if (!info[PdfGenerator::Title].isEmpty())
        xmp +=
            u"<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt></dc:title>\n"_s
                .arg(info[PdfGenerator::Title].toHtmlEscaped());
    if (!info[PdfGenerator::Author].isEmpty())
        xmp += u"<dc:creator><rdf:Seq><rdf:li>%1</rdf:li></rdf:Seq></dc:creator>\n"_s.arg(
            info[PdfGenerator::Author].toHtmlEscaped());
    if (!info[PdfGenerator::Subject].isEmpty())
        xmp +=
            u"<dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt></dc:description>\n"_s
                .arg(info[PdfGenerator::Subject].toHtmlEscaped());
    if (!info[PdfGenerator::Keywords].isEmpty())
        xmp += u"<pdf:Keywords>%1</pdf:Keywords>\n"_s.arg(
            info[PdfGenerator::Keywords].toHtmlEscaped());
    if (!info[PdfGenerator::Creator].isEmpty())
        xmp += u"<xmp:CreatorTool>%1</xmp:CreatorTool>\n"_s.arg(
            info[PdfGenerator::Creator].toHtmlEscaped());
    xmp += u"</rdf:Description></rdf:RDF></x:xmpmeta>\n<?xpacket end=\"w\"?>"_s;
    return xmp.toUtf8();
}

QPageSize pageSizeOf(const PageImage &page)
{
    return QPageSize(page.size / UnitsPerPoint, QPageSize::Point, {}, QPageSize::ExactMatch);
}

} // namespace

PdfGenerator::PdfGenerator() = default;

PdfGenerator::~PdfGenerator()
{
    if (m_document)
        discard();
}

void PdfGenerator::setOutput(const QString &fileName, const QString &folder)
{
    reset();
    if (fileName.trimmed().isEmpty())
        return;
    QString name = fileName.trimmed();
    // A device or folder keeps its name, so that the write refuses it
    // rather than making a file beside it ("/dev/null.pdf").
    if (QFileInfo(name).suffix().isEmpty() && !QFileInfo::exists(name))
        name += u".pdf"_s;
    if (QFileInfo(name).isRelative() && !name.contains(QDir::separator()) && !name.contains(u'/'))
        name = QDir(folder.isEmpty() ? QDir::currentPath() : folder).filePath(name);
    m_outputFile = QDir::cleanPath(name);
}

void PdfGenerator::setDocumentInfo(InfoEntry entry, const QString &text)
{
    // The keywords may be long; the other entries are short texts.
    m_info[entry] = text.left(entry == Keywords ? 1024 : 260);
}

void PdfGenerator::reset()
{
    if (m_document)
        discard();
    m_outputFile.clear();
    m_info = {};
    m_viewWhenDone = false;
    m_pages = nullptr;
    m_targets.clear();
    m_pagesPerFile = 0;
    m_batch = 0;
    m_pageInBatch = 0;
    m_written.clear();
    m_result = Result::NothingToDo;
    m_error.clear();
}

QStringList PdfGenerator::splitFileNames(const QString &fileName, int pageCount, int pagesPerFile)
{
    if (pagesPerFile <= 0 || pageCount <= 0)
        return {fileName};
    const int files = (pageCount + pagesPerFile - 1) / pagesPerFile;
    const int digits = int(std::floor(std::log10(double(files)))) + 1;
    const QFileInfo info(fileName);
    const QString base = info.dir().filePath(info.completeBaseName());
    const QString suffix = info.suffix().isEmpty() ? QString() : u"."_s + info.suffix();
    QStringList names;
    for (int i = 1; i <= files; ++i)
        names.append(u"%1_%2%3"_s.arg(base).arg(i, digits, 10, QLatin1Char('0')).arg(suffix));
    return names;
}

bool PdfGenerator::begin(const PageList &pages, int pagesPerFile)
{
    m_written.clear();
    m_error.clear();
    m_batch = 0;
    m_pageInBatch = 0;
    m_result = Result::NothingToDo;
    if (pages.isEmpty() || m_outputFile.isEmpty())
        return false;
    m_pages = &pages;
    m_pagesPerFile = pagesPerFile > 0 && pagesPerFile < pages.count() ? pagesPerFile : 0;
    m_targets = splitFileNames(m_outputFile, pages.count(), m_pagesPerFile);
    return true;
}

int PdfGenerator::pagesPerBatch() const
{
    return m_pagesPerFile > 0 ? m_pagesPerFile : m_pages->count();
}

int PdfGenerator::pagesInBatch() const
{
    return std::min(pagesPerBatch(), m_pages->count() - m_batch * pagesPerBatch());
}

int PdfGenerator::percent() const
{
    const int total = m_pages ? pagesInBatch() : 0;
    return total > 0 ? m_pageInBatch * 100 / total : 0;
}

QString PdfGenerator::statusText() const
{
    const QString target = m_batch < m_targets.size() ? m_targets.at(m_batch) : m_outputFile;
    return u"Generating PDF: "_s + target;
}

QString PdfGenerator::pageText() const
{
    if (!m_pages)
        return {};
    const int total = pagesInBatch();
    return u"Page %1 of %2"_s.arg(std::min(m_pageInBatch + 1, total)).arg(total);
}

bool PdfGenerator::openDocument()
{
    if (QString refused = OutputFile::refusal(m_targets.at(m_batch)); !refused.isEmpty()) {
        fail(u"The PDF file cannot be written: "_s + refused);
        return false;
    }
    m_document = std::make_unique<Document>();
    m_document->file.setFileName(m_targets.at(m_batch));
    if (!m_document->file.open(QIODevice::WriteOnly)) {
        fail(u"The PDF file %1 cannot be written: %2"_s.arg(m_targets.at(m_batch),
                                                            m_document->file.errorString()));
        return false;
    }
    m_document->writer = std::make_unique<QPdfWriter>(&m_document->file);
    QPdfWriter &writer = *m_document->writer;
    writer.setPdfVersion(QPagedPaintDevice::PdfVersion_1_4);
    // One device pixel per page unit: the page images replay unscaled.
    writer.setResolution(int(UnitsPerInch));
    writer.setPageMargins({});
    writer.setTitle(m_info[Title]);
    writer.setCreator(m_info[Creator].isEmpty() ? u"QAVEQ Equipment Costing"_s : m_info[Creator]);
    if (std::any_of(m_info.begin(), m_info.end(), [](const QString &t) { return !t.isEmpty(); }))
        writer.setDocumentXmpMetadata(xmpMetadata(m_info));
    return true;
}

bool PdfGenerator::step()
{
    if (!m_pages || m_batch >= m_targets.size() || m_result == Result::Failed ||
        m_result == Result::Cancelled)
        return false;
    if (!m_document && !openDocument())
        return false;

    const int index = m_batch * pagesPerBatch() + m_pageInBatch;
    const std::optional<PageImage> page = m_pages->page(index);
    if (!page) {
        fail(u"Page %1 of the report cannot be read from %2."_s.arg(index + 1).arg(
            m_pages->storeFile()));
        return false;
    }
    Document &document = *m_document;
    document.writer->setPageSize(pageSizeOf(*page));
    if (!document.started) {
        if (!document.painter.begin(document.writer.get())) {
            fail(u"The PDF file %1 cannot be written."_s.arg(m_targets.at(m_batch)));
            return false;
        }
        document.started = true;
    } else {
        document.writer->newPage();
    }
    page->paint(document.painter);
    ++m_pageInBatch;

    const bool lastOfBatch = m_pageInBatch == pagesInBatch();
    if (lastOfBatch) {
        if (!finishDocument())
            return false;
        ++m_batch;
        m_pageInBatch = 0;
        if (m_batch == m_targets.size()) {
            m_result = Result::Produced;
            return false;
        }
    }
    return true;
}

bool PdfGenerator::finishDocument()
{
    m_document->painter.end();
    const QString target = m_targets.at(m_batch);
    if (const QString error = m_document->file.finish(); !error.isEmpty()) {
        m_document.reset();
        fail(u"The PDF file cannot be written: "_s + error);
        return false;
    }
    m_document.reset();
    m_written.append(target);
    return true;
}

void PdfGenerator::fail(const QString &error)
{
    m_error = error;
    discard();
    m_result = Result::Failed;
}

void PdfGenerator::cancel()
{
    if (m_result == Result::Produced)
        return;
    discard();
    m_result = Result::Cancelled;
}

void PdfGenerator::discard()
{
    if (m_document) {
        if (m_document->painter.isActive())
            m_document->painter.end();
        m_document->file.cancelWriting();
        m_document.reset();
    }
    // Files of earlier batches go too: a stopped generation leaves no output.
    for (const QString &name : std::as_const(m_written))
        QFile::remove(name);
    m_written.clear();
}

PdfGenerator::Result PdfGenerator::generate(const PageList &pages, int pagesPerFile)
{
    if (!begin(pages, pagesPerFile))
        return Result::NothingToDo;
    while (step()) {
        if (StopRequest::requested())
            cancel();
    }
    return m_result;
}

} // namespace qaveq::report
