#include "client/main/ui/ToolbarIcons.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

namespace parlova {

namespace {

struct IconSpec {
    qint32 tag;
    const char* themeName;
    QStyle::StandardPixmap fallback;
};

constexpr IconSpec kIcons[] = {
    {1, "document-new", QStyle::SP_FileIcon},
    {2, "document-open", QStyle::SP_DialogOpenButton},
    {3, "document-save", QStyle::SP_DialogSaveButton},
    {4, "edit-clear", QStyle::SP_DialogResetButton},
    {5, "edit-cut", QStyle::SP_CustomBase},
    {6, "edit-copy", QStyle::SP_CustomBase},
    {7, "edit-paste", QStyle::SP_CustomBase},
    {8, "mail-send", QStyle::SP_ArrowForward},
    {10, "edit-find", QStyle::SP_FileDialogContentsView},
    {11, "network-transmit-receive", QStyle::SP_DriveNetIcon},
    {12, "network-offline", QStyle::SP_BrowserStop},
    {13, "x-office-address-book", QStyle::SP_FileDialogListView},
    {14, "preferences-system", QStyle::SP_FileDialogDetailedView},
    {15, "preferences-desktop-font", QStyle::SP_CustomBase},
    {19, "contact-new", QStyle::SP_FileDialogNewFolder},
    {20, "list-add", QStyle::SP_FileDialogNewFolder},
    {21, "document-properties", QStyle::SP_FileDialogInfoView},
    {22, "edit-delete", QStyle::SP_TrashIcon},
    {23, "go-next", QStyle::SP_ArrowRight},
    {24, "edit-copy", QStyle::SP_CustomBase},
    {25, "mail-mark-read", QStyle::SP_DialogApplyButton},
    {26, "preferences-desktop-theme", QStyle::SP_CustomBase},
    {27, "mail-reply-sender", QStyle::SP_MessageBoxInformation},
    {28, "mail-message-new", QStyle::SP_DirIcon},
    {29, "document-save", QStyle::SP_DialogSaveButton},
    {114, "preferences-system", QStyle::SP_FileDialogDetailedView},
    {122, "edit-delete", QStyle::SP_TrashIcon},
    {127, "mail-reply-sender", QStyle::SP_MessageBoxInformation},
};

// Pictures the styles lack, drawn in the palette's text colour.
QIcon Drawn(qint32 tag)
{
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = QApplication::palette().color(QPalette::WindowText);
    const QColor paper = QApplication::palette().color(QPalette::Base);
    p.setPen(QPen(ink, 1.4));
    switch (tag) {
    case 5:  // scissors
        p.drawEllipse(QRectF(3, 12, 5, 5));
        p.drawEllipse(QRectF(12, 12, 5, 5));
        p.drawLine(QPointF(7, 12.5), QPointF(14, 2));
        p.drawLine(QPointF(13, 12.5), QPointF(6, 2));
        break;
    case 6:
    case 24:  // two pages
        p.setBrush(paper);
        p.drawRect(QRectF(3, 2.5, 9, 11));
        p.drawRect(QRectF(8, 6.5, 9, 11));
        break;
    case 7:  // a clipboard with a page
        p.setBrush(QColor(0xC8, 0xA0, 0x60));
        p.drawRoundedRect(QRectF(3, 3, 12, 15), 1.5, 1.5);
        p.setBrush(paper);
        p.drawRect(QRectF(8, 8, 9, 10));
        p.setBrush(ink);
        p.drawRect(QRectF(6.5, 1.5, 5, 3));
        break;
    case 15: {  // a letter over a coloured bar
        QFont font = QApplication::font();
        font.setBold(true);
        font.setPixelSize(14);
        p.setFont(font);
        p.drawText(QRectF(0, 0, 20, 16), Qt::AlignCenter, QStringLiteral("A"));
        p.fillRect(QRectF(3, 16, 14, 3), QColor(0xC0, 0x20, 0x20));
        break;
    }
    case 26:  // a colour swatch
        p.setBrush(QColor(0x30, 0x80, 0xD0));
        p.drawRoundedRect(QRectF(3, 3, 14, 14), 2, 2);
        break;
    default:
        return QIcon();
    }
    p.end();
    return QIcon(pixmap);
}

}  // namespace

QIcon ToolbarIcon(qint32 tag)
{
    for (const IconSpec& spec : kIcons) {
        if (spec.tag != tag)
            continue;
        const QIcon themed = QIcon::fromTheme(QString::fromLatin1(spec.themeName));
        if (!themed.isNull())
            return themed;
        if (spec.fallback != QStyle::SP_CustomBase)
            return QApplication::style()->standardIcon(spec.fallback);
    }
    return Drawn(tag);
}

}  // namespace parlova
