#include "email/MimeLetter.h"

#include "email/QuenbyGlobalObjs.h"

#include <QRegularExpression>

#include <gmime/gmime.h>

namespace quenby {
namespace {

QString FromUtf8(const char* text) { return text ? QString::fromUtf8(text) : QString(); }

struct Leaf {
    GMimeObject* object;
    bool underAlternative;
};

void CollectLeaves(GMimeObject* object, bool underAlternative, QList<Leaf>& out, int depth = 0)
{
    // Nesting this deep is no letter anyone wrote; it only costs stack.
    if (!object || depth > 64)
        return;
    if (GMIME_IS_MULTIPART(object)) {
        GMimeMultipart* multi = GMIME_MULTIPART(object);
        GMimeContentType* type = g_mime_object_get_content_type(object);
        const bool alternative = underAlternative || (type && g_mime_content_type_is_type(type, "multipart", "alternative"));
        const int count = g_mime_multipart_get_count(multi);
        for (int i = 0; i < count; ++i)
            CollectLeaves(g_mime_multipart_get_part(multi, i), alternative, out, depth + 1);
        return;
    }
    out.append(Leaf{object, underAlternative});
}

bool IsType(GMimeObject* object, const char* type, const char* subtype)
{
    GMimeContentType* ct = g_mime_object_get_content_type(object);
    // A part without a Content-Type is text/plain.
    if (!ct)
        return g_ascii_strcasecmp(type, "text") == 0 && g_ascii_strcasecmp(subtype, "plain") == 0;
    return g_mime_content_type_is_type(ct, type, subtype);
}

bool IsAttachmentDisposition(GMimeObject* object)
{
    GMimeContentDisposition* d = g_mime_object_get_content_disposition(object);
    return d && g_mime_content_disposition_is_attachment(d);
}

QByteArray DecodedContent(GMimeObject* object)
{
    GMimeStream* out = g_mime_stream_mem_new();
    if (GMIME_IS_PART(object)) {
        if (GMimeDataWrapper* content = g_mime_part_get_content(GMIME_PART(object)))
            g_mime_data_wrapper_write_to_stream(content, out);
    } else if (GMIME_IS_MESSAGE_PART(object)) {
        if (GMimeMessage* inner = g_mime_message_part_get_message(GMIME_MESSAGE_PART(object)))
            g_mime_object_write_to_stream(GMIME_OBJECT(inner), nullptr, out);
    }
    GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(out));
    QByteArray result(reinterpret_cast<const char*>(bytes->data), static_cast<qsizetype>(bytes->len));
    g_object_unref(out);
    return result;
}

QString PartText(GMimeObject* object)
{
    if (GMIME_IS_TEXT_PART(object)) {
        if (char* text = g_mime_text_part_get_text(GMIME_TEXT_PART(object))) {
            QString result = QString::fromUtf8(text);
            g_free(text);
            return result;
        }
    }
    return QString::fromUtf8(DecodedContent(object));
}

QString FileNameOf(GMimeObject* object)
{
    if (GMIME_IS_PART(object))
        return FromUtf8(g_mime_part_get_filename(GMIME_PART(object)));
    const char* name = g_mime_object_get_content_disposition_parameter(object, "filename");
    if (!name)
        name = g_mime_object_get_content_type_parameter(object, "name");
    return FromUtf8(name);
}

void FirstMailbox(InternetAddressList* list, MimeAddress& out, int depth = 0)
{
    if (!list || depth > 8)
        return;
    const int count = internet_address_list_length(list);
    for (int i = 0; i < count; ++i) {
        InternetAddress* ia = internet_address_list_get_address(list, i);
        if (INTERNET_ADDRESS_IS_MAILBOX(ia)) {
            out.name = FromUtf8(internet_address_get_name(ia));
            out.address = FromUtf8(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(ia)));
            return;
        }
        if (INTERNET_ADDRESS_IS_GROUP(ia)) {
            FirstMailbox(internet_address_group_get_members(INTERNET_ADDRESS_GROUP(ia)), out, depth + 1);
            if (!out.address.isEmpty())
                return;
        }
    }
}

void AllMailboxes(InternetAddressList* list, QList<MimeAddress>& out, int depth = 0)
{
    if (!list || depth > 8)
        return;
    const int count = internet_address_list_length(list);
    for (int i = 0; i < count; ++i) {
        InternetAddress* ia = internet_address_list_get_address(list, i);
        if (INTERNET_ADDRESS_IS_MAILBOX(ia))
            out.append(MimeAddress{FromUtf8(internet_address_get_name(ia)),
                                   FromUtf8(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(ia)))});
        else if (INTERNET_ADDRESS_IS_GROUP(ia))
            AllMailboxes(internet_address_group_get_members(INTERNET_ADDRESS_GROUP(ia)), out, depth + 1);
    }
}

QString DecodeEntities(const QString& text)
{
    static const QRegularExpression entity(QStringLiteral("&(#[0-9]{1,7}|#[xX][0-9a-fA-F]{1,6}|[a-zA-Z]{2,8});"));
    QString out;
    qsizetype last = 0;
    auto it = entity.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        out += text.mid(last, m.capturedStart() - last);
        last = m.capturedEnd();
        const QString name = m.captured(1);
        char32_t code = 0;
        if (name.startsWith(QLatin1String("#x")) || name.startsWith(QLatin1String("#X")))
            code = name.mid(2).toUInt(nullptr, 16);
        else if (name.startsWith(QLatin1Char('#')))
            code = name.mid(1).toUInt();
        else if (name == QLatin1String("amp"))
            code = '&';
        else if (name == QLatin1String("lt"))
            code = '<';
        else if (name == QLatin1String("gt"))
            code = '>';
        else if (name == QLatin1String("quot"))
            code = '"';
        else if (name == QLatin1String("apos"))
            code = '\'';
        else if (name == QLatin1String("nbsp"))
            code = ' ';
        if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            out += m.captured(0);
        else
            out += QString::fromUcs4(&code, 1);
    }
    out += text.mid(last);
    return out;
}

// Whether text at `at` is "<" or "</" & name followed by a non-word character.
bool TagNameAt(const QString& text, qsizetype at, QLatin1StringView name, bool closing)
{
    qsizetype i = at + 1;
    if (closing) {
        if (i >= text.size() || text.at(i) != QLatin1Char('/'))
            return false;
        ++i;
    }
    if (text.size() - i < name.size() || QStringView(text).mid(i, name.size()).compare(name, Qt::CaseInsensitive) != 0)
        return false;
    i += name.size();
    return i >= text.size() || !(text.at(i).isLetterOrNumber() || text.at(i) == QLatin1Char('_'));
}

// Drops script, style and head elements, each up to its closing tag; one
// without a closing tag stays. One pass: a letter full of unclosed tags
// must not keep the thread busy for minutes. Adds to `searched` the
// characters the searches passed over.
QString WithoutBlocks(const QString& html, qsizetype& searched)
{
    static const QLatin1StringView kNames[] = {QLatin1StringView("script"), QLatin1StringView("style"),
                                               QLatin1StringView("head")};
    bool unclosed[3] = {false, false, false};
    QString out;
    out.reserve(html.size());
    qsizetype i = 0;
    while (i < html.size()) {
        const qsizetype lt = html.indexOf(QLatin1Char('<'), i);
        searched += (lt < 0 ? html.size() : lt) - i;
        if (lt < 0)
            break;
        qsizetype skipTo = -1;
        for (int k = 0; k < 3 && skipTo < 0; ++k) {
            if (unclosed[k] || !TagNameAt(html, lt, kNames[k], false))
                continue;
            // The first "</name" & blanks & ">" after the name.
            qsizetype from = lt + 1 + kNames[k].size();
            while (skipTo < 0) {
                const qsizetype close = html.indexOf(QLatin1String("</"), from);
                searched += (close < 0 ? html.size() : close + 2) - from;
                if (close < 0) {
                    unclosed[k] = true;
                    break;
                }
                from = close + 2;
                if (!TagNameAt(html, close, kNames[k], true))
                    continue;
                qsizetype j = close + 2 + kNames[k].size();
                while (j < html.size() && html.at(j).isSpace())
                    ++j;
                if (j < html.size() && html.at(j) == QLatin1Char('>'))
                    skipTo = j + 1;
            }
        }
        if (skipTo < 0) {
            out += QStringView(html).mid(i, lt + 1 - i);
            i = lt + 1;
        } else {
            out += QStringView(html).mid(i, lt - i);
            i = skipTo;
        }
    }
    out += QStringView(html).mid(i);
    return out;
}

}  // namespace

QString HtmlToText(const QString& html, qsizetype* searched)
{
    QString s = html;
    s.remove(QRegularExpression(QStringLiteral("<!--.*?-->"), QRegularExpression::DotMatchesEverythingOption));
    qsizetype passed = 0;
    s = WithoutBlocks(s, passed);
    if (searched)
        *searched = passed;
    s.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
    s.replace(QRegularExpression(QStringLiteral("<(br|/p|/div|/tr|/li|/h[1-6]|/table)\\b[^>]*>"),
                                 QRegularExpression::CaseInsensitiveOption),
              QStringLiteral("\n"));
    s.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    s = DecodeEntities(s);
    QStringList lines = s.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = line.trimmed();
    return lines.join(QStringLiteral("\r\n")).trimmed();
}

bool ParseMimeLetter(const QByteArray& raw, MimeLetter& out, bool withBody)
{
    EnsureGMime();
    out = MimeLetter();
    if (raw.isEmpty())
        return false;
    GMimeStream* stream = g_mime_stream_mem_new_with_buffer(raw.constData(), static_cast<size_t>(raw.size()));
    GMimeParser* parser = g_mime_parser_new_with_stream(stream);
    GMimeMessage* message = g_mime_parser_construct_message(parser, nullptr);
    g_object_unref(parser);
    g_object_unref(stream);
    if (!message)
        return false;

    FirstMailbox(g_mime_message_get_from(message), out.from);
    AllMailboxes(g_mime_message_get_to(message), out.to);
    AllMailboxes(g_mime_message_get_cc(message), out.to);
    out.subject = FromUtf8(g_mime_message_get_subject(message));
    out.date = FromUtf8(g_mime_object_get_header(GMIME_OBJECT(message), "Date"));

    QList<Leaf> leaves;
    CollectLeaves(g_mime_message_get_mime_part(message), false, leaves);

    qsizetype bodyAt = -1;
    bool bodyIsHtml = false;
    for (qsizetype i = 0; i < leaves.size() && bodyAt < 0; ++i)
        if (!IsAttachmentDisposition(leaves[i].object) && IsType(leaves[i].object, "text", "plain"))
            bodyAt = i;
    for (qsizetype i = 0; i < leaves.size() && bodyAt < 0; ++i)
        if (!IsAttachmentDisposition(leaves[i].object) && IsType(leaves[i].object, "text", "html")) {
            bodyAt = i;
            bodyIsHtml = true;
        }
    if (bodyAt >= 0 && withBody) {
        const QString text = PartText(leaves[bodyAt].object);
        out.body = bodyIsHtml ? HtmlToText(text) : text;
    }

    for (qsizetype i = 0; i < leaves.size(); ++i) {
        if (i == bodyAt)
            continue;
        GMimeObject* leaf = leaves[i].object;
        // The other renderings of the body are not attachments.
        if (bodyAt >= 0 && leaves[i].underAlternative && leaves[bodyAt].underAlternative &&
            !IsAttachmentDisposition(leaf) && IsType(leaf, "text", "*"))
            continue;
        MimeAttachment attachment;
        attachment.fileName = FileNameOf(leaf);
        if (withBody)
            attachment.content = DecodedContent(leaf);
        out.attachments.append(attachment);
    }
    g_object_unref(message);
    return true;
}

}  // namespace quenby
