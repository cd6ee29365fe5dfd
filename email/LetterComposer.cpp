#include "email/LetterComposer.h"

#include "email/QuenbyGlobalObjs.h"

#include <gmime/gmime.h>

namespace quenby {
namespace {

// Header texts never carry line breaks or other control characters: a
// name from an incoming letter must not add header lines of its own.
QString HeaderText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        out += (u < 0x20 || u == 0x7f) ? QChar(u' ') : c;
    }
    // Only the ends: blanks inside are the writer's own.
    return out.trimmed();
}

// Canonical text lines end in CR LF, whatever the caller's text used.
QByteArray CanonicalBody(const QString& body)
{
    QString text = body;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    return text.toUtf8();
}

}  // namespace

bool IsSafeAddress(const QString& address)
{
    if (address.isEmpty() || address.size() > 320)
        return false;
    for (QChar c : address) {
        const char16_t u = c.unicode();
        if (u <= 0x20 || u == 0x7f || c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char(',') ||
            c == QLatin1Char(';') || c == QLatin1Char('"') || c == QLatin1Char('(') || c == QLatin1Char(')') ||
            c.isSpace())
            return false;
    }
    const qsizetype at = address.indexOf(QLatin1Char('@'));
    return at > 0 && at == address.lastIndexOf(QLatin1Char('@')) && at < address.size() - 1;
}

QByteArray ComposeLetter(const ComposedAddress& from, const QList<ComposedAddress>& to, const QString& subject,
                         const QString& body, bool crlf)
{
    EnsureGMime();
    GMimeMessage* message = g_mime_message_new(TRUE);
    if (!from.address.isEmpty())
        g_mime_message_add_mailbox(message, GMIME_ADDRESS_TYPE_FROM, HeaderText(from.name).toUtf8().constData(),
                                   from.address.toUtf8().constData());
    for (const ComposedAddress& a : to)
        g_mime_message_add_mailbox(message, GMIME_ADDRESS_TYPE_TO, HeaderText(a.name).toUtf8().constData(),
                                   a.address.toUtf8().constData());
    g_mime_message_set_subject(message, HeaderText(subject).toUtf8().constData(), "utf-8");

    GDateTime* now = g_date_time_new_now_local();
    g_mime_message_set_date(message, now);
    g_date_time_unref(now);

    const qsizetype at = from.address.lastIndexOf(QLatin1Char('@'));
    const QByteArray domain = at > 0 ? from.address.mid(at + 1).toUtf8() : QByteArray("localhost");
    char* id = g_mime_utils_generate_message_id(domain.constData());
    g_mime_message_set_message_id(message, id);
    g_free(id);

    GMimePart* part = g_mime_part_new_with_type("text", "plain");
    g_mime_object_set_content_type_parameter(GMIME_OBJECT(part), "charset", "utf-8");
    const QByteArray text = CanonicalBody(body);
    GMimeStream* content = g_mime_stream_mem_new_with_buffer(text.constData(), static_cast<size_t>(text.size()));
    GMimeDataWrapper* wrapper = g_mime_data_wrapper_new_with_stream(content, GMIME_CONTENT_ENCODING_DEFAULT);
    g_mime_part_set_content(part, wrapper);
    g_mime_part_set_content_encoding(part, GMIME_CONTENT_ENCODING_BASE64);
    g_mime_message_set_mime_part(message, GMIME_OBJECT(part));
    g_object_unref(wrapper);
    g_object_unref(content);
    g_object_unref(part);

    GMimeFormatOptions* options = g_mime_format_options_new();
    g_mime_format_options_set_newline_format(options, crlf ? GMIME_NEWLINE_FORMAT_DOS : GMIME_NEWLINE_FORMAT_UNIX);
    GMimeStream* out = g_mime_stream_mem_new();
    g_mime_object_write_to_stream(GMIME_OBJECT(message), options, out);
    GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(out));
    QByteArray result(reinterpret_cast<const char*>(bytes->data), static_cast<qsizetype>(bytes->len));
    g_object_unref(out);
    g_mime_format_options_free(options);
    g_object_unref(message);
    return result;
}

}  // namespace quenby
