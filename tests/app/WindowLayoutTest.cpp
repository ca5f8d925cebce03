// Every window at its designed rectangles, in every skin and without one, in every language: no
// control overlaps another and no text is cut, measured with the font each control draws with.
#include "app/SkinChoice.h"
#include "engine/QueueEstimate.h"
#include "skin/TsuiSkinEngine.h"
#include "tests/app/ProgramFolderFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <QTableWidget>

#include <tuple>

namespace velmora::test {
namespace {

QString Name(const QWidget* widget) {
    return widget->objectName();
}

// Problems found, one line each, so that a failure lists them all.
class Findings {
public:
    void Add(const QWidget* window, const QWidget* widget, const QString& what) {
        lines_ << Name(window) + "." + Name(widget) + ": " + what;
    }
    std::string Text() const { return lines_.join(QStringLiteral("\n")).toStdString(); }
    bool Empty() const { return lines_.isEmpty(); }

private:
    QStringList lines_;
};

QString Describe(const QRect& r) {
    return QStringLiteral("%1/%2/%3/%4").arg(r.left()).arg(r.top()).arg(r.width()).arg(r.height());
}

// The rectangle the text's ink covers when drawn in `area` with that vertical alignment, as Qt draws a
// single line: the line box placed by its font height, the ink around the baseline.
QRect TextInk(const QFont& font, const QString& text, const QRect& area, Qt::Alignment alignment) {
    const QFontMetrics metrics(font);
    const int lineTop = alignment & Qt::AlignTop      ? area.top()
                        : alignment & Qt::AlignBottom ? area.bottom() + 1 - metrics.height()
                                                      : area.top() + (area.height() - metrics.height()) / 2;
    return metrics.tightBoundingRect(text).translated(area.left(), lineTop + metrics.ascent());
}

// Where one line of text, drawn in `area` of a widget as Qt draws it with that vertical alignment,
// puts ink where it is not seen; empty when it shows whole. Qt clips to the area when the line is
// taller or wider than it, and to the widget otherwise.
QString CutText(const QFont& font, const QString& text, const QRect& area, Qt::Alignment alignment,
                const QRect& widget) {
    QString plain = text;
    plain.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    const QFontMetrics metrics(font);
    const int advance = metrics.horizontalAdvance(plain);
    QStringList cut;
    if (advance > area.width())
        cut << QStringLiteral("%1 px wide in %2").arg(advance).arg(area.width());
    const QRect ink = TextInk(font, plain, area, alignment);
    const QRect clip = metrics.height() > area.height() || advance > area.width() ? area : widget;
    if (ink.top() < clip.top() || ink.bottom() > clip.bottom())
        cut << QStringLiteral("ink rows %1..%2 outside %3..%4")
                   .arg(ink.top())
                   .arg(ink.bottom())
                   .arg(clip.top())
                   .arg(clip.bottom());
    return cut.isEmpty() ? QString() : "\"" + text + "\" " + cut.join(QStringLiteral(", "));
}

QStyleOptionGroupBox GroupBoxOption(const QGroupBox* box) {
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.lineWidth = 1;
    option.textAlignment = box->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    return option;
}

QStyleOptionComboBox ComboBoxOption(const QComboBox* list) {
    QStyleOptionComboBox option;
    option.initFrom(list);
    option.editable = list->isEditable();
    option.frame = list->hasFrame();
    option.subControls = QStyle::SC_All;
    return option;
}

// The controls a window is made of: its named descendants, without Qt's inner parts.
QList<QWidget*> Controls(QWidget* window) {
    QList<QWidget*> controls;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        const QString name = Name(widget);
        if (!name.isEmpty() && !name.startsWith(QStringLiteral("qt_")) && widget->isVisibleTo(window) &&
            !widget->isWindow())
            controls << widget;
    }
    return controls;
}

void CheckPlacement(QWidget* window, const QList<QWidget*>& controls, Findings& findings) {
    for (qsizetype i = 0; i < controls.size(); ++i) {
        QWidget* a = controls[i];
        if (!a->parentWidget()->rect().contains(a->geometry()))
            findings.Add(window, a, "leaves its parent: " + Describe(a->geometry()));
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            QWidget* b = controls[j];
            if (a->parentWidget() == b->parentWidget() && a->geometry().intersects(b->geometry()))
                findings.Add(window, a,
                             "overlaps " + Name(b) + ": " + Describe(a->geometry()) + " and " +
                                 Describe(b->geometry()));
        }
    }
}

QRect TitleInk(const QGroupBox* box) {
    const QStyleOptionGroupBox option = GroupBoxOption(box);
    const QRect label =
        box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    return TextInk(box->font(), box->title(), label, Qt::AlignVCenter);
}

// What a control draws, in its parent: a group box its frame and its title, anything else its whole
// rectangle.
QRect DrawnArea(const QWidget* control) {
    auto* box = qobject_cast<const QGroupBox*>(control);
    if (box == nullptr)
        return control->geometry();
    const QStyleOptionGroupBox option = GroupBoxOption(box);
    QRect drawn = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, box);
    if (!box->title().isEmpty())
        drawn |= TitleInk(box);
    return drawn.translated(box->pos());
}

void CheckGroupBox(QWidget* window, QGroupBox* box, Findings& findings) {
    if (box->title().isEmpty())
        return;
    const QStyleOptionGroupBox option = GroupBoxOption(box);
    QStyle* style = box->style();
    const QRect label = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    const QRect frame = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, box);
    const QString cut = CutText(box->font(), box->title(), label, Qt::AlignVCenter, box->rect());
    if (!cut.isEmpty())
        findings.Add(window, box, "title " + cut);
    // The frame's top line passes behind the title, never above it, and its sides stay clear of it.
    if (frame.top() < label.top() || frame.top() > label.bottom() || label.left() <= frame.left() ||
        label.right() >= frame.right())
        findings.Add(window, box, "title " + Describe(label) + " runs into the frame " + Describe(frame));
    const QRect ink = TitleInk(box);
    for (QWidget* child : Controls(box))
        if (child->parentWidget() == box && DrawnArea(child).intersects(ink))
            findings.Add(window, box, "title ink " + Describe(ink) + " runs into " + Name(child));
}

// The chosen item must show whole in the closed list; every item must show whole in the open one.
QString CutListItems(QComboBox* list) {
    const QStyleOptionComboBox option = ComboBoxOption(list);
    const QRect field =
        list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list);
    QString cut = CutText(list->font(), list->currentText(), field, Qt::AlignVCenter, list->rect());
    list->showPopup();
    QAbstractItemView* view = list->view();
    const QFontMetrics metrics(view->font());
    for (int i = 0; i < list->count(); ++i) {
        const QRect item = view->visualRect(list->model()->index(i, 0));
        // An item keeps a few pixels of margin on either side of its text.
        if (metrics.horizontalAdvance(list->itemText(i)) + 6 > item.width() ||
            metrics.height() > item.height())
            cut += QStringLiteral(" open list item \"%1\" does not fit %2")
                       .arg(list->itemText(i), Describe(item));
    }
    list->hidePopup();
    return cut;
}

void CheckTexts(QWidget* window, const QList<QWidget*>& controls, Findings& findings) {
    for (QWidget* widget : controls) {
        QString cut;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (!label->text().isEmpty())
                cut = CutText(label->font(), label->text(), label->contentsRect(), label->alignment(),
                              label->rect());
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect area =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            cut = CutText(button->font(), button->text(), area, Qt::AlignVCenter, button->rect());
        } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
            QStyleOptionButton option;
            option.initFrom(check);
            option.text = check->text();
            const QRect area = check->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, check);
            cut = CutText(check->font(), check->text(), area, Qt::AlignVCenter, check->rect());
        } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            QStyleOptionButton option;
            option.initFrom(radio);
            option.text = radio->text();
            const QRect area = radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, radio);
            cut = CutText(radio->font(), radio->text(), area, Qt::AlignVCenter, radio->rect());
        } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
            cut = CutListItems(list);
        } else if (auto* table = qobject_cast<QTableWidget*>(widget)) {
            QHeaderView* header = table->horizontalHeader();
            const QString caption = table->horizontalHeaderItem(0)->text();
            // A header section keeps a few pixels of margin on either side of its caption.
            const QRect area(4, 0, header->sectionSize(0) - 8, header->height());
            cut = CutText(header->font(), caption, area, Qt::AlignVCenter, header->rect());
        } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
            CheckGroupBox(window, box, findings);
        }
        if (!cut.isEmpty())
            findings.Add(window, widget, cut);
    }
}

// Skin 0 stands for no skin file at all.
class WindowLayout : public ProgramFolderTest,
                     public ::testing::WithParamInterface<std::tuple<int32_t, int>> {
protected:
    void SetUp() override {
        const auto [skin, languageId] = GetParam();
        if (skin != 0)
            CopyShippedSkin(skin);
        WriteConfig("[common]\nlanguage=" + std::to_string(languageId) +
                    "\n[skin]\nskin=" + std::to_string(skin == 0 ? kDefaultSkinIndex : skin) + "\n");
    }
};

// The queue line as a run shows it in a long queue, with each way of telling the time left (a longer
// one ends in an ellipsis).
void ShowLongestQueueLine(TfrmMain& window) {
    const QFontMetrics metrics(window.labelQueueInfo->font());
    QString longest;
    for (double secondsLeft : {30.0, 59 * 60.0, 9 * 3600.0 + 59 * 60}) {
        const QString line = window.QueueProgressText({99, 99, 100, secondsLeft});
        if (metrics.horizontalAdvance(line) > metrics.horizontalAdvance(longest))
            longest = line;
    }
    window.labelQueueInfo->setText(longest);
}

void ExpectNothingOverlapsAndNoTextIsCut(ProgramWindows& started) {
    Findings findings;
    ShowLongestQueueLine(started.frmMain);
    for (QWidget* window :
         std::initializer_list<QWidget*>{&started.frmMain, &started.frmSetting, &started.frmPowerOffWindows,
                                         &started.FrmBatchAdd, &started.FrmDirectory, &started.frmTracks}) {
        window->show();
        QApplication::processEvents();
        const QList<QWidget*> controls = Controls(window);
        EXPECT_GE(controls.size(), 3) << Name(window).toStdString();
        CheckPlacement(window, controls, findings);
        CheckTexts(window, controls, findings);
        if (window != &started.frmMain)
            window->hide();
    }
    EXPECT_TRUE(findings.Empty()) << findings.Text();
}

TEST_P(WindowLayout, NothingOverlapsAndNoTextIsCut) {
    ProgramWindows& started = Show();
    ASSERT_EQ(started.frmCommon.suiSkinEngine->SkinFile().empty(), std::get<0>(GetParam()) == 0);
    ExpectNothingOverlapsAndNoTextIsCut(started);
    EXPECT_TRUE(errors.shown.empty());
}

// Lists in a layout grow with the items of a language chosen after they were first laid out.
TEST_F(ProgramFolderTest, LanguageChosenLaterFitsTheSoundAndSubtitlesLists) {
    WriteConfig("[common]\nlanguage=2\n");
    ProgramWindows& started = Show();
    started.frmTracks.show();
    QApplication::processEvents();
    started.frmTracks.hide();
    started.frmMain.N_LanguageClick(5);
    ExpectNothingOverlapsAndNoTextIsCut(started);
}

// A desktop font half as large again: every window grows with it.
class LargerFontLayout : public WindowLayout {
protected:
    void SetUp() override {
        WindowLayout::SetUp();
        QFont larger = designedFont_;
        larger.setPixelSize(18);
        QApplication::setFont(larger);
    }
    void TearDown() override { QApplication::setFont(designedFont_); }

private:
    const QFont designedFont_ = QApplication::font();
};

TEST_P(LargerFontLayout, WindowsGrowAndNothingOverlapsOrIsCut) {
    ProgramWindows& started = Show();
    EXPECT_EQ(started.frmMain.centralWidget()->minimumSize(), QSize(621, 701));
    EXPECT_EQ(started.frmSetting.size(), QSize(461, 180));
    ExpectNothingOverlapsAndNoTextIsCut(started);
    EXPECT_TRUE(errors.shown.empty());
}

std::string LookName(const ::testing::TestParamInfo<std::tuple<int32_t, int>>& info) {
    const auto [skin, languageId] = info.param;
    std::string look = skin == 0 ? "NoSkin" : SkinFileName(skin);
    look = look.substr(0, look.find('.'));
    return look + "_" +
           std::array<const char*, 11>{"Chinese", "English", "Japanese",          "French",
                                       "German",  "Spanish", "Italian",           "Portuguese",
                                       "Russian", "Korean",  "TraditionalChinese"}[languageId - 1];
}

INSTANTIATE_TEST_SUITE_P(EverySkinAndLanguage, WindowLayout,
                         ::testing::Combine(::testing::Range(0, kSkinCount + 1), ::testing::Range(1, 12)),
                         LookName);
INSTANTIATE_TEST_SUITE_P(ThreeSkinsAndLanguages, LargerFontLayout,
                         ::testing::Combine(::testing::Values(0, 7, 16), ::testing::Range(1, 12)), LookName);

} // namespace
} // namespace velmora::test
