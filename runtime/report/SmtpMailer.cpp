#include "SmtpMailer.h"

#include <QDateTime>
#include <QFileInfo>

#include <curl/curl.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace qaveq::report {

namespace {

struct CurlGlobal
{
    CurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
    ~CurlGlobal() { curl_global_cleanup(); }
};

struct EasyDeleter
{
    void operator()(CURL *curl) const { curl_easy_cleanup(curl); }
};
struct MimeDeleter
{
    void operator()(curl_mime *mime) const { curl_mime_free(mime); }
};
struct ListDeleter
{
    void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};

bool isAscii(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

// A header text outside ASCII as RFC 2047 encoded words: each at most 75
// characters, so split at character boundaries into pieces of at most 45
// bytes of UTF-8, the words separated by a space (which readers drop between
// encoded words).
QByteArray encodedWords(const QString &text)
{
    if (isAscii(text))
        return text.toUtf8();
    QList<QByteArray> words;
    QByteArray piece;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QByteArray character = text.mid(i, length).toUtf8();
        i += length - 1;
        if (piece.size() + character.size() > 45) {
            words.append("=?UTF-8?B?" + piece.toBase64() + "?=");
            piece.clear();
        }
        piece += character;
    }
    if (!piece.isEmpty())
        words.append("=?UTF-8?B?" + piece.toBase64() + "?=");
    return words.join(' ');
}

// "Name" <address> in ASCII; outside ASCII the name as encoded words, which
// must stand unquoted to be decoded.
QByteArray mailbox(const QString &name, const QString &address)
{
    if (name.trimmed().isEmpty())
        return '<' + address.toUtf8() + '>';
    if (!isAscii(name))
        return encodedWords(name) + " <" + address.toUtf8() + '>';
    QString quoted = name;
    quoted.replace(u'\\', u"\\\\"_s).replace(u'"', u"\\\""_s);
    return '"' + quoted.toUtf8() + "\" <" + address.toUtf8() + '>';
}

// A header line must not smuggle in further lines.
QString oneLine(const QString &text)
{
    QString line = text;
    line.replace(u'\r', u' ').replace(u'\n', u' ');
    return line.trimmed();
}

} // namespace

QString SmtpMailer::url() const
{
    const QString scheme =
        m_settings.security == SmtpSettings::Security::Tls ? u"smtps"_s : u"smtp"_s;
    return u"%1://%2:%3"_s.arg(scheme, m_settings.server.trimmed()).arg(m_settings.port);
}

bool SmtpMailer::send(const MailMessage &message)
{
    static CurlGlobal global;
    m_error.clear();
    if (m_settings.server.trimmed().isEmpty()) {
        m_error = u"No mail server is set up. Enter one under Setup, Email Settings."_s;
        return false;
    }
    if (oneLine(message.toAddress).isEmpty()) {
        m_error = u"The message has no recipient."_s;
        return false;
    }
    if (!message.attachment.isEmpty() && !QFileInfo(message.attachment).isReadable()) {
        m_error = u"The file %1 to send cannot be read."_s.arg(message.attachment);
        return false;
    }

    std::unique_ptr<CURL, EasyDeleter> curl(curl_easy_init());
    if (!curl) {
        m_error = u"The mail library could not start."_s;
        return false;
    }
    char errorBuffer[CURL_ERROR_SIZE] = {};
    CURL *handle = curl.get();
    const QByteArray url = this->url().toUtf8();
    const QByteArray from = '<' + oneLine(m_settings.fromAddress).toUtf8() + '>';
    const QByteArray to = '<' + oneLine(message.toAddress).toUtf8() + '>';
    const QByteArray user = m_settings.user.toUtf8();
    const QByteArray password = m_settings.password.toUtf8();
    curl_easy_setopt(handle, CURLOPT_URL, url.constData());
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 20L);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, 120L);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    if (m_settings.security == SmtpSettings::Security::StartTls)
        curl_easy_setopt(handle, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    if (!user.isEmpty()) {
        curl_easy_setopt(handle, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(handle, CURLOPT_PASSWORD, password.constData());
    }
    curl_easy_setopt(handle, CURLOPT_MAIL_FROM, from.constData());
    std::unique_ptr<curl_slist, ListDeleter> recipients(curl_slist_append(nullptr, to.constData()));
    curl_easy_setopt(handle, CURLOPT_MAIL_RCPT, recipients.get());

    const QByteArray fromHeader =
        "From: " + mailbox(oneLine(m_settings.fromName), oneLine(m_settings.fromAddress));
    const QByteArray toHeader =
        "To: " + mailbox(oneLine(message.toName), oneLine(message.toAddress));
    const QByteArray subjectHeader = "Subject: " + encodedWords(oneLine(message.subject));
    const QByteArray dateHeader =
        "Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1();
    curl_slist *headers = nullptr;
    headers = curl_slist_append(headers, fromHeader.constData());
    headers = curl_slist_append(headers, toHeader.constData());
    headers = curl_slist_append(headers, subjectHeader.constData());
    headers = curl_slist_append(headers, dateHeader.constData());
    std::unique_ptr<curl_slist, ListDeleter> headerList(headers);
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headerList.get());

    std::unique_ptr<curl_mime, MimeDeleter> mime(curl_mime_init(handle));
    curl_mimepart *text = curl_mime_addpart(mime.get());
    const QByteArray body = message.body.toUtf8();
    curl_mime_data(text, body.constData(), size_t(body.size()));
    curl_mime_type(text, "text/plain; charset=UTF-8");
    curl_mime_encoder(text, "quoted-printable");
    if (!message.attachment.isEmpty()) {
        curl_mimepart *file = curl_mime_addpart(mime.get());
        const QByteArray path = message.attachment.toLocal8Bit();
        const QByteArray name = QFileInfo(message.attachment).fileName().toUtf8();
        curl_mime_filedata(file, path.constData());
        curl_mime_filename(file, name.constData());
        curl_mime_type(file, name.toLower().endsWith(".pdf") ? "application/pdf"
                                                             : "application/octet-stream");
        curl_mime_encoder(file, "base64");
    }
    curl_easy_setopt(handle, CURLOPT_MIMEPOST, mime.get());

    const CURLcode code = curl_easy_perform(handle);
    if (code != CURLE_OK) {
        const QString detail = QString::fromUtf8(errorBuffer).trimmed();
        m_error = u"The email to %1 was not sent: %2"_s.arg(
            oneLine(message.toAddress),
            detail.isEmpty() ? QString::fromUtf8(curl_easy_strerror(code)) : detail);
        return false;
    }
    return true;
}

} // namespace qaveq::report
