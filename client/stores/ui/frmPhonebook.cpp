#include "client/stores/ui/frmPhonebook.h"

#include "client/conversations/BookNames.h"
#include "client/core/Globals.h"
#include "client/core/Order.h"
#include "client/core/ui/SettingsWidgets.h"
#include "client/core/ui/StoreGrid.h"
#include "client/stores/PhonebookTexts.h"
#include "client/stores/ui/PhonebookMenus.h"
#include "email/EmailGate.h"
#include "hub/messages/BookRecords.h"
#include "platform/ui/Twips.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

namespace parlova {

frmPhonebook::frmPhonebook(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmPhonebook"));
    setWindowTitle(Caption());
    MSFlexGrid1 = new StoreGrid(PhonebookTexts::DesignHeaders(), this);
    MSFlexGrid1->horizontalHeader()->resizeSections(QHeaderView::ResizeToContents);
    Label1 = new QLabel(PhonebookTexts::DesignLabel(), this);
    Label1->setTextFormat(Qt::PlainText);
    Label1->setContentsMargins(4, 2, 4, 2);
    menus_ = new PhonebookMenus(*this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // Inside the main window its menu bar shows these menus.
    layout->setMenuBar(menus_->Bar());
    menus_->Bar()->setVisible(SharedActions::Instance() == nullptr);
    layout->addWidget(MSFlexGrid1, 1);
    layout->addWidget(Label1);

    connect(MSFlexGrid1, &StoreGrid::HeaderClicked, this, &frmPhonebook::HeaderClick);
    connect(MSFlexGrid1, &StoreGrid::RightClicked, this, &frmPhonebook::RightClick);
    connect(MSFlexGrid1, &StoreGrid::RowDoubleClicked, this, [this] { menus_->StartTalk(); });
    Load();
}

frmPhonebook::~frmPhonebook() = default;

QList<QMenu*> frmPhonebook::Menus() const { return BarMenus(menus_->Bar()); }

void frmPhonebook::Load()
{
    const corvane::BookRecords* books = G().PhoneBooks.get();
    if (!books || !books->Filled())
        return;
    const quenby::EmailGate* mail = G().MailGate.get();
    menus_->EnableEmail(mail && mail->ServiceType() == quenby::CDOSYS_TYPE);
    GetFormat(MSFlexGrid1, 3);

    MSFlexGrid1->setUpdatesEnabled(false);
    mPhoneBook = books->GetPhoneBook();
    mSIMBook = books->GetSIMBook();
    const QList<QStringList> rows = PhonebookTexts::ExportRows(books->GetAllRecords());
    // Rows the export could not split are left out, not left empty: an
    // empty row would read as entry 0 of book 0.
    MSFlexGrid1->SetRows(int(rows.size()) + 1);
    for (int r = 0; r < rows.size(); ++r)
        fillRow(r + 1, rows.at(r));
    MSFlexGrid1->setUpdatesEnabled(true);
    if (MSFlexGrid1->Rows() > 1)
        MSFlexGrid1->SetRow(1);
    resizeColumns();
    ShowBookTotals();
}

void frmPhonebook::fillRow(int row, const QStringList& fields)
{
    MSFlexGrid1->SetTextMatrix(row, 0, GetBookName(fields.at(0).toInt()));
    for (int c = 1; c <= 3; ++c)
        MSFlexGrid1->SetTextMatrix(row, c, fields.at(c));
}

QString frmPhonebook::GetBookName(qint32 book) const
{
    const corvane::BookRecords* books = G().PhoneBooks.get();
    return books ? parlova::GetBookName(*books, book) : QString::number(book);
}

void frmPhonebook::ShowBookTotals()
{
    const corvane::BookRecords* books = G().PhoneBooks.get();
    Label1->setText(books ? PhonebookTexts::Totals(*books, mSIMBook, mPhoneBook) : QString());
}

void frmPhonebook::resizeColumns()
{
    // The grid takes the window's whole width; its own may not follow yet.
    const double grid = platform::PixelsToTwipsX(width() - 2 * MSFlexGrid1->frameWidth());
    const double w0 = MSFlexGrid1->ColumnWidthTwips(0);
    const double w1 = MSFlexGrid1->ColumnWidthTwips(1);
    if (!widthsSet_) {
        const QList<double> widths = PhonebookTexts::LoadWidths(grid, w0, w1);
        if (widths.at(1) < 0)
            return;
        MSFlexGrid1->SetColumnWidthTwips(2, widths.at(0));
        MSFlexGrid1->SetColumnWidthTwips(3, widths.at(1));
        widthsSet_ = isVisible();
        return;
    }
    if (const std::optional<double> w = PhonebookTexts::TelephoneWidth(grid, w0, w1, MSFlexGrid1->ColumnWidthTwips(2)))
        MSFlexGrid1->SetColumnWidthTwips(3, *w);
}

void frmPhonebook::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    resizeColumns();
}

int frmPhonebook::findRow(qint32 book, qint32 index) const
{
    const QString name = GetBookName(book);
    const QString number = QString::number(index);
    for (int row = 1; row < MSFlexGrid1->Rows(); ++row)
        if (MSFlexGrid1->TextMatrix(row, 1) == number && MSFlexGrid1->TextMatrix(row, 0) == name)
            return row;
    return 0;
}

QString frmPhonebook::ActiveContact(QString& contactName, QString& contactNumber, qint32& book, qint32& index) const
{
    const int row = MSFlexGrid1->Row();
    bool numbered = false;
    const qint32 i = row > 0 ? MSFlexGrid1->TextMatrix(row, 1).toInt(&numbered) : 0;
    if (!numbered)
        return QStringLiteral("No active contact");
    contactName = MSFlexGrid1->TextMatrix(row, 2);
    contactNumber = MSFlexGrid1->TextMatrix(row, 3);
    book = PhonebookTexts::BookNumberFromName(MSFlexGrid1->TextMatrix(row, 0), mPhoneBook, mSIMBook);
    index = i;
    return QString();
}

QString frmPhonebook::AddContact(const QString& location, qint32 index)
{
    const corvane::BookRecords& books = PhoneBooksRef();
    const qint32 book = books.BookNameToIndex(location);
    const QStringList fields = PhonebookTexts::RecordFields(books.GetRecord(book, index));
    if (fields.isEmpty())
        return QStringLiteral("Contact not found");
    fillRow(MSFlexGrid1->AddRow(), fields);
    ShowBookTotals();
    return QString();
}

QString frmPhonebook::UpdateContact(const QString& location, qint32 index)
{
    const corvane::BookRecords& books = PhoneBooksRef();
    const qint32 book = books.BookNameToIndex(location);
    const QStringList fields = PhonebookTexts::RecordFields(books.GetRecord(book, index));
    const int row = fields.isEmpty() ? 0 : findRow(book, index);
    if (row == 0)
        return QStringLiteral("Contact not found");
    MSFlexGrid1->SetTextMatrix(row, 2, fields.at(2));
    MSFlexGrid1->SetTextMatrix(row, 3, fields.at(3));
    return QString();
}

QString frmPhonebook::DeleteContact(const QString& location, qint32 index)
{
    const int row = findRow(PhoneBooksRef().BookNameToIndex(location), index);
    if (row == 0)
        return QStringLiteral("Contact not found");
    MSFlexGrid1->RemoveRow(row);
    ShowBookTotals();
    return QString();
}

void frmPhonebook::HeaderClick(int col)
{
    const BookSort sort = PhonebookTexts::HeaderClick(mSortOrder, col);
    mSortOrder = sort.order;
    for (int c = 0; c < sort.headers.size(); ++c)
        MSFlexGrid1->SetTextMatrix(0, c, sort.headers.at(c));
    MSFlexGrid1->SortRows(sort.firstKey, sort.lastKey, sort.order);
}

void frmPhonebook::RightClick(int row, const QPoint& globalPos)
{
    // Below the rows the selection stays, for the menu's commands to act on.
    if (row > 0)
        MSFlexGrid1->SetRow(row);
    menus_->PopupPhonebookMenu(globalPos);
}

QString frmPhonebook::SaveFont(QWidget* control)
{
    if (control != MSFlexGrid1)
        return QString();
    resizeColumns();
    SaveBookOptions(true, MSFlexGrid1);
    return QString();
}

QString frmPhonebook::SaveCharset(QWidget* control) { return SaveFont(control); }

QString frmPhonebook::SaveColor(QWidget* control)
{
    if (control == MSFlexGrid1)
        SaveBookOptions(false, MSFlexGrid1);
    return QString();
}

}  // namespace parlova
