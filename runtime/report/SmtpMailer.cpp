#include "SmtpMailer.h"

#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUuid>

#include <curl/curl.h>

#include <cctype>
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

// A header text outside ASCII as RFC 2047 encoded words: split at character
// boundaries into pieces of at most 40 bytes of UTF-8, so that a word (68
// characters) fits a folded line after its header's name, the words
// separated by a space (which readers drop between encoded words).
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
        if (piece.size() + character.size() > 40) {
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

// "Name: value" folded at its spaces into lines of at most 78 characters,
// the standard's recommended length; a word longer than a line stays whole.
QByteArray folded(const QByteArray &name, const QByteArray &value)
{
    constexpr qsizetype LineLength = 78;
    QByteArray header = name + ':';
    qsizetype lineStart = 0;
    bool lineHasWord = false;
    for (const QByteArray &word : value.split(' ')) {
        if (lineHasWord && !word.isEmpty() &&
            header.size() - lineStart + 1 + word.size() > LineLength) {
            header += "\r\n";
            lineStart = header.size();
        }
        header += ' ' + word;
        lineHasWord = true;
    }
    return header;
}

// The addresses of a recipient list, separated by commas or semicolons.
QStringList addresses(const QString &list)
{
    QStringList found;
    for (const QString &part : oneLine(list).split(QRegularExpression(u"[,;]"_s)))
        if (!part.trimmed().isEmpty())
            found.append(part.trimmed());
    return found;
}

// A Message-ID unique to this message, in the sender's domain.
QByteArray messageId(const QString &fromAddress)
{
    QString domain = fromAddress.section(u'@', -1).trimmed();
    if (domain.isEmpty() || domain == fromAddress.trimmed())
        domain = u"localhost"_s;
    return '<' + QUuid::createUuid().toByteArray(QUuid::Id128) + '@' + domain.toUtf8() + '>';
}

// The server's replies that refused something: its last lines with a 4xx or
// 5xx code, as the server wrote them.
struct ServerReplies
{
    QByteArray text;

    QString refusal() const
    {
        QStringList lines;
        for (const QByteArray &line : text.split('\n')) {
            const QByteArray trimmed = line.trimmed();
            if (trimmed.size() >= 3 && (trimmed.at(0) == '4' || trimmed.at(0) == '5') &&
                std::isdigit(static_cast<unsigned char>(trimmed.at(1))) &&
                std::isdigit(static_cast<unsigned char>(trimmed.at(2))))
                lines.append(QString::fromUtf8(trimmed));
        }
        return lines.join(u' ');
    }
};

int keepServerReplies(CURL *, curl_infotype type, char *data, size_t size, void *replies)
{
    // Only what the server said is kept: what the client sent holds the login.
    if (type == CURLINFO_HEADER_IN)
        static_cast<ServerReplies *>(replies)->text.append(data, qsizetype(size));
    return 0;
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
    const QStringList recipients = addresses(message.toAddress);
    if (recipients.isEmpty()) {
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
    const QByteArray user = m_settings.user.toUtf8();
    const QByteArray password = m_settings.password.toUtf8();
    curl_easy_setopt(handle, CURLOPT_URL, url.constData());
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 20L);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, 120L);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    ServerReplies replies;
    curl_easy_setopt(handle, CURLOPT_DEBUGFUNCTION, keepServerReplies);
    curl_easy_setopt(handle, CURLOPT_DEBUGDATA, &replies);
    curl_easy_setopt(handle, CURLOPT_VERBOSE, 1L);
    if (m_settings.security == SmtpSettings::Security::StartTls)
        curl_easy_setopt(handle, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    if (!user.isEmpty()) {
        curl_easy_setopt(handle, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(handle, CURLOPT_PASSWORD, password.constData());
    }
    curl_easy_setopt(handle, CURLOPT_MAIL_FROM, from.constData());
    curl_slist *rcpt = nullptr;
    QList<QByteArray> toMailboxes;
    for (const QString &address : recipients) {
        rcpt = curl_slist_append(rcpt, ('<' + address.toUtf8() + '>').constData());
        // The name belongs to a single recipient only.
        toMailboxes.append(
            mailbox(recipients.size() == 1 ? oneLine(message.toName) : QString(), address));
    }
    std::unique_ptr<curl_slist, ListDeleter> rcptList(rcpt);
    curl_easy_setopt(handle, CURLOPT_MAIL_RCPT, rcptList.get());

    const QByteArray headerLines[] = {
        folded("From", mailbox(oneLine(m_settings.fromName), oneLine(m_settings.fromAddress))),
        folded("To", toMailboxes.join(", ")),
        folded("Subject", encodedWords(oneLine(message.subject))),
        "Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1(),
        "Message-ID: " + messageId(oneLine(m_settings.fromAddress))};
    curl_slist *headers = nullptr;
    for (const QByteArray &line : headerLines)
        headers = curl_slist_append(headers, line.constData());
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
        QString detail = QString::fromUtf8(errorBuffer).trimmed();
        if (detail.isEmpty())
            detail = QString::fromUtf8(curl_easy_strerror(code));
        if (const QString refusal = replies.refusal(); !refusal.isEmpty())
            detail += u"; the server said: "_s + refusal;
        m_error = u"The email to %1 was not sent: %2"_s.arg(recipients.join(u", "_s), detail);
        return false;
    }
    return true;
}

} // namespace qaveq::report
