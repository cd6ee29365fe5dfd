#pragma once
// The controls of the options dialog's seven pages, each named as the
// settings know it (Check1, Combo2, Text14, ...), and nothing more: what
// they do is the dialog's.
#include <QString>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QWidget;

namespace parlova {

class UpDown;

struct OptionButton {
    QRadioButton* button;
    qint32 value;
};

// A row of the View page: its style's sample box and buttons.
struct SampleRow {
    int style;
    QLineEdit* sample;
    QPushButton* font;
    QPushButton* colour;
};

class OptionsPages {
public:
    // Builds the pages as children of parent; pages[n] is page n.
    explicit OptionsPages(QWidget* parent);

    std::array<QWidget*, 7> pages{};

    // General
    QCheckBox* Check3;
    QComboBox* Combo2;
    QComboBox* Combo3;
    QCheckBox* Check1;
    QSpinBox* Text2;  // with its up-down UpDown1
    QCheckBox* Check2;
    QComboBox* Combo1;
    QLabel* Label1;
    QLineEdit* Text1;
    QPushButton* Command1;
    // SMS
    QCheckBox* Check4;
    QComboBox* Combo4;
    QRadioButton* Option15;
    QRadioButton* Option16;
    QRadioButton* Option17;
    QLineEdit* Text3;
    UpDown* UpDown2;
    QLineEdit* Text4;
    UpDown* UpDown3;
    QRadioButton* Option10;
    QRadioButton* Option11;
    QComboBox* Combo5;
    QCheckBox* Check14;
    // Email through SMTP and POP3
    QCheckBox* Check10;
    QLineEdit* Text10;
    QLineEdit* Text11;
    QLineEdit* Text12;
    QLineEdit* Text13;
    QLineEdit* Text14;
    QCheckBox* Check7;
    QLineEdit* Text15;
    QLineEdit* Text16;
    QCheckBox* Check8;
    QLineEdit* Text17;
    QLineEdit* Text18;
    QLineEdit* Text19;
    QCheckBox* Check9;
    // Email through the local mail service
    QCheckBox* Check13;
    QLineEdit* Text32;
    QLineEdit* Text23;
    // Message defaults
    std::array<OptionButton, 4> coding{};
    std::array<OptionButton, 5> messageClass{};
    QCheckBox* Check5;
    std::array<OptionButton, 3> validity{};
    QSlider* Slider2;
    QLabel* Label7;
    // View
    std::array<SampleRow, 4> samples{};
    // Hidden page
    QCheckBox* Check6;
    std::array<QLineEdit*, 5> Text9{};
    QLineEdit* Text20;
    QCheckBox* Check11;
    QLineEdit* Text21;
    QCheckBox* Check12;
    QLineEdit* Text22;

private:
    void BuildGeneral(QWidget* page);
    void BuildSms(QWidget* page);
    void BuildSmtpEmail(QWidget* page);
    void BuildMessage(QWidget* page);
    void BuildView(QWidget* page);
    void BuildHidden(QWidget* page);
    void BuildLocalEmail(QWidget* page);
};

}  // namespace parlova
