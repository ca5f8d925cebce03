// The main window's controls, actions and menus, placed as designed.
#include "app/UnitMain.h"

#include "app/ActionLink.h"
#include "app/GrowingPlacement.h"
#include "app/LanguageChoice.h"
#include "engine/EncodingChoices.h"
#include "platform/qt/WideChoiceList.h"
#include "skin/LayoutScale.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>

namespace velmora {

namespace {

template <typename Widget>
Widget* Place(Widget* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

QLabel* FixedLabel(QWidget* parent, const char* name, const char* text, int left, int top, int width,
                   int height) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    // Names and paths shown here are never read as markup.
    label->setTextFormat(Qt::PlainText);
    return Place(label, name, left, top, width, height);
}

QGroupBox* GroupBox(QWidget* parent, const char* name, const char* title, int left, int top, int width,
                    int height) {
    return Place(new QGroupBox(QString::fromLatin1(title), parent), name, left, top, width, height);
}

// A pick-only list of the encoding choice's items, on its starting item.
QComboBox* ChoiceList(QWidget* parent, const char* name, const EncodingChoice& choice, int left, int top,
                      int width, int height) {
    auto* list = Place(new WideChoiceList(parent), name, left, top, width, height);
    list->setEditable(false);
    for (const char* item : choice.items)
        list->addItem(QString::fromLatin1(item));
    list->setCurrentIndex(choice.defaultPosition);
    return list;
}

QPushButton* ActionButton(QWidget* parent, const char* name, QAction* action, int left, int top, int width,
                          int height) {
    auto* button = Place(new QPushButton(parent), name, left, top, width, height);
    LinkToAction(button, action);
    return button;
}

QAction* NamedAction(QObject* owner, const char* name, const char* caption) {
    auto* action = new QAction(QString::fromLatin1(caption), owner);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QAction* LinkedItem(QMenu* menu, const char* name, QAction* action) {
    auto* item = NamedAction(menu, name, "");
    LinkToAction(item, action);
    menu->addAction(item);
    return item;
}

QAction* Separator(QMenu* menu, const char* name) {
    QAction* separator = menu->addSeparator();
    separator->setObjectName(QString::fromLatin1(name));
    return separator;
}

QMenu* Submenu(QWidget* parent, const char* name, const char* title) {
    auto* menu = new QMenu(QString::fromLatin1(title), parent);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

} // namespace

void TfrmMain::CreateActions() {
    ActionFileAdd = NamedAction(this, "ActionFileAdd", "Add");
    ActionFileDelete = NamedAction(this, "ActionFileDelete", "Remove");
    ActionFileClearAll = NamedAction(this, "ActionFileClearAll", "ClearAll");
    ActionFileMoveUp = NamedAction(this, "ActionFileMoveUp", "MoveUp");
    ActionFileMoveDown = NamedAction(this, "ActionFileMoveDown", "MoveDown");
    ActionExit = NamedAction(this, "ActionExit", "Exit");
    ActionSetDirectory = NamedAction(this, "ActionSetDirectory", "Browse...");
    ActionFileBatchAdd = NamedAction(this, "ActionFileBatchAdd", "ActionFileBatchAdd");
    ActionConvertNow = NamedAction(this, "ActionConvertNow", "Convert");
}

void TfrmMain::CreateControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    // The designed size is the least; the list takes whatever the window grows by.
    const QSize designed(414, 467);
    client->setMinimumSize(designed);
    client->resize(designed);
    setCentralWidget(client);

    listViewFiles = Place(new QTableWidget(0, 1, client), "listViewFiles", 2, 10, 406, 137);
    listViewFiles->setHorizontalHeaderLabels({QStringLiteral("Files")});
    listViewFiles->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    listViewFiles->horizontalHeader()->setStretchLastSection(true);
    listViewFiles->horizontalHeader()->setHighlightSections(false);
    listViewFiles->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    listViewFiles->setColumnWidth(0, 399);
    listViewFiles->verticalHeader()->hide();
    listViewFiles->verticalHeader()->setDefaultSectionSize(18);
    listViewFiles->setShowGrid(true);
    listViewFiles->setWordWrap(false);
    // A long path keeps its file name in view.
    listViewFiles->setTextElideMode(Qt::ElideMiddle);
    listViewFiles->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Tab leaves the list for the next control rather than moving the selection.
    listViewFiles->setTabKeyNavigation(false);
    listViewFiles->setSelectionBehavior(QAbstractItemView::SelectRows);
    listViewFiles->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    listViewFiles->setContextMenuPolicy(Qt::CustomContextMenu);

    groupBoxButtons = GroupBox(client, "groupBoxButtons", "", 2, 148, 409, 38);
    buttonAdd = ActionButton(groupBoxButtons, "buttonAdd", ActionFileAdd, 8, 8, 66, 25);
    buttonDelete = ActionButton(groupBoxButtons, "buttonDelete", ActionFileDelete, 84, 8, 66, 25);
    buttonClearAll = ActionButton(groupBoxButtons, "buttonClearAll", ActionFileClearAll, 160, 9, 66, 25);
    buttonMoveUp = ActionButton(groupBoxButtons, "buttonMoveUp", ActionFileMoveUp, 264, 9, 66, 25);
    buttonMoveDown = ActionButton(groupBoxButtons, "buttonMoveDown", ActionFileMoveDown, 336, 9, 66, 25);

    // The designed rectangles of the status box and of the drop-down lists overlap their neighbours
    // by a pixel or two; each is drawn that much shorter, inside its rectangle. Two labels are too
    // short for Chinese and Japanese glyphs; they grow by two pixels above and below, so that their
    // text stays centred where it was designed.
    groupBoxStatus = GroupBox(client, "groupBoxStatus", "Status", 2, 187, 407, 74);
    labelCurrentDecrption =
        FixedLabel(groupBoxStatus, "labelCurrentDecrption", "Current file:", 8, 16, 81, 13);
    labelCurrentProgress = FixedLabel(groupBoxStatus, "labelCurrentProgress", "Progress:", 8, 34, 81, 13);
    labelCurrentInfo = FixedLabel(groupBoxStatus, "labelCurrentInfo", "", 96, 15, 305, 13);
    progressBarCurrent = Place(new QProgressBar(groupBoxStatus), "progressBarCurrent", 96, 32, 305, 17);
    progressBarCurrent->setRange(0, 100);
    progressBarCurrent->setValue(0);
    progressBarCurrent->setTextVisible(false);
    // The whole queue, a row below the current file; the groups under it move down by that row.
    labelQueueDescription = FixedLabel(groupBoxStatus, "labelQueueDescription", "Queue:", 8, 54, 81, 13);
    labelQueueInfo = FixedLabel(groupBoxStatus, "labelQueueInfo", "", 96, 53, 305, 15);
    labelQueueDescription->setBuddy(labelQueueInfo);

    groupBoxSettings = GroupBox(client, "groupBoxSettings", "Settings", 2, 261, 407, 126);
    GroupBoxSettingsVideo = GroupBox(groupBoxSettings, "GroupBoxSettingsVideo", "Video", 8, 12, 194, 92);
    // Both groups' labels are wider than first designed, for the Japanese "フレームレート：" and
    // "ビットレート：" with their colons.
    labelVideoBitrate =
        FixedLabel(GroupBoxSettingsVideo, "labelVideoBitrate", "Video Bitrate", 3, 16, 80, 13);
    comboBoxVideoBitrate =
        ChoiceList(GroupBoxSettingsVideo, "comboBoxVideoBitrate", kVideoBitrateChoice, 85, 8, 92, 19);
    labelFrameRate = FixedLabel(GroupBoxSettingsVideo, "labelFrameRate", "Frame Rate", 3, 31, 80, 15);
    comboBoxFrameRate =
        ChoiceList(GroupBoxSettingsVideo, "comboBoxFrameRate", kFrameRateChoice, 85, 27, 92, 19);
    labelVideoSize = FixedLabel(GroupBoxSettingsVideo, "labelVideoSize", "Video Size", 3, 51, 80, 13);
    comboBoxVideoSize =
        ChoiceList(GroupBoxSettingsVideo, "comboBoxVideoSize", kVideoSizeChoice, 85, 48, 92, 19);

    GroupBoxSettingsAudio = GroupBox(groupBoxSettings, "GroupBoxSettingsAudio", "Audio", 206, 12, 191, 92);
    labelAudioBitrate =
        FixedLabel(GroupBoxSettingsAudio, "labelAudioBitrate", "Audio Bitrate", 4, 15, 74, 13);
    comboBoxAudioBitrate =
        ChoiceList(GroupBoxSettingsAudio, "comboBoxAudioBitrate", kAudioBitrateChoice, 80, 10, 105, 19);
    labelSampleRate = FixedLabel(GroupBoxSettingsAudio, "labelSampleRate", "Sample Rate", 4, 33, 74, 13);
    comboBoxSampleRate =
        ChoiceList(GroupBoxSettingsAudio, "comboBoxSampleRate", kSampleRateChoice, 80, 30, 105, 19);
    labelChannel = FixedLabel(GroupBoxSettingsAudio, "labelChannel", "Channel", 4, 50, 74, 16);
    comboBoxChannel = ChoiceList(GroupBoxSettingsAudio, "comboBoxChannel", kChannelChoice, 80, 49, 105, 19);
    // A fourth row in both groups, for the sound level; everything below moves down by it.
    CreateSoundLevelControl();
    // A row of its own under the choices; the groups below move down by that row.
    CreateCropControl();

    groupBoxOutput = GroupBox(client, "groupBoxOutput", "Output", 2, 389, 408, 39);
    labelOutput = FixedLabel(groupBoxOutput, "labelOutput", "Folder:", 8, 16, 65, 17);
    editOutputFolder = Place(new QLineEdit(groupBoxOutput), "editOutputFolder", 80, 12, 241, 21);
    editOutputFolder->setReadOnly(true);
    BitBtnOutput = ActionButton(groupBoxOutput, "BitBtnOutput", ActionSetDirectory, 322, 10, 81, 25);

    buttonConvert = ActionButton(client, "buttonConvert", ActionConvertNow, 152, 431, 105, 33);

    // Drawn larger with a larger desktop font; that size is then the least.
    const double scale = ApplicationLayoutScale();
    ScaleDesignedGeometry(client, scale);
    const QSize scaled(Scaled(designed.width(), scale), Scaled(designed.height(), scale));
    client->setMinimumSize(scaled);
    client->resize(scaled);
    listViewFiles->setColumnWidth(0, Scaled(399, scale));
    listViewFiles->verticalHeader()->setDefaultSectionSize(Scaled(18, scale));
    growingPlacement_ = new GrowingPlacement(client, listViewFiles, scaled);
    // Delete removes the selected entries while the list has the focus; an entry being edited keeps
    // the key for its text.
    auto* deleteKey =
        new QShortcut(QKeySequence::Delete, listViewFiles, nullptr, nullptr, Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, ActionFileDelete, &QAction::trigger);
}

void TfrmMain::CreateLanguageMenu() {
    N_Language = Submenu(N_Options, "N_Language", "&Language");
    auto* group = new QActionGroup(N_Language);
    // Each language by its own name, so that a user who cannot read the present one finds theirs.
    const auto languages = LanguageMenuEntries();
    for (size_t i = 0; i < N_LanguageItems.size() && i < languages.size(); ++i) {
        const auto [languageId, name] = languages[i];
        QAction* item = N_Language->addAction(QString::fromUtf8(name));
        item->setObjectName(QStringLiteral("N_Language") + QString::number(languageId));
        item->setData(languageId);
        item->setCheckable(true);
        group->addAction(item);
        N_LanguageItems[i] = item;
    }
    N_Options->addMenu(N_Language);
}

void TfrmMain::CreateMenus() {
    MainMenu = new QMenuBar(this);
    MainMenu->setObjectName(QStringLiteral("MainMenu"));
    setMenuBar(MainMenu);

    N_1 = Submenu(MainMenu, "N_1", "&File");
    N1_1 = LinkedItem(N_1, "N1_1", ActionFileAdd);
    N1_11 = LinkedItem(N_1, "N1_11", ActionFileBatchAdd);
    N1_2 = LinkedItem(N_1, "N1_2", ActionFileDelete);
    N1_3 = LinkedItem(N_1, "N1_3", ActionFileClearAll);
    N1_4 = Separator(N_1, "N1_4");
    N1_5 = LinkedItem(N_1, "N1_5", ActionFileMoveUp);
    N1_6 = LinkedItem(N_1, "N1_6", ActionFileMoveDown);
    N1_7 = Separator(N_1, "N1_7");
    N1_8 = LinkedItem(N_1, "N1_8", ActionConvertNow);
    N1_9 = Separator(N_1, "N1_9");
    N1_10 = LinkedItem(N_1, "N1_10", ActionExit);
    MainMenu->addMenu(N_1);

    N_Options = Submenu(MainMenu, "N_Options", "&Options");
    N_Setting = N_Options->addAction(QStringLiteral("Settings..."));
    N_Setting->setObjectName(QStringLiteral("N_Setting"));
    N_Tracks = N_Options->addAction(QStringLiteral("Sound and Su&btitles..."));
    N_Tracks->setObjectName(QStringLiteral("N_Tracks"));
    CreateLanguageMenu();
    MainMenu->addMenu(N_Options);

    N_Skin = Submenu(MainMenu, "N_Skin", "S&kin");
    for (size_t i = 0; i < N_SkinItems.size(); ++i) {
        QString number = QString::number(i + 1);
        N_SkinItems[i] = N_Skin->addAction(QStringLiteral("Skin") + number);
        N_SkinItems[i]->setObjectName(QStringLiteral("N_Skin") + number);
    }
    MainMenu->addMenu(N_Skin);

    N_Tools = Submenu(MainMenu, "N_Tools", "&Tools");
    N_OtherProducts = Submenu(N_Tools, "N_OtherProducts", "Other Products");
    for (size_t i = 0; i < N_ProductItems.size(); ++i) {
        QString number = QString::number(i + 1);
        N_ProductItems[i] = N_OtherProducts->addAction(QStringLiteral("Product") + number);
        N_ProductItems[i]->setObjectName(QStringLiteral("N_Product") + number);
    }
    N_Tools->addMenu(N_OtherProducts);
    MainMenu->addMenu(N_Tools);

    N_Help = Submenu(MainMenu, "N_Help", "&Help");
    N_LocalHelp = NamedAction(N_Help, "N_LocalHelp", "Help");
    N_HomePage = NamedAction(N_Help, "N_HomePage", "Home Page");
    N_Support = NamedAction(N_Help, "N_Support", "Support");
    N_FeedBack = NamedAction(N_Help, "N_FeedBack", "Feedback");
    N_Update = NamedAction(N_Help, "N_Update", "Check for Updates");
    N_Help->addActions({N_LocalHelp, N_HomePage, N_Support, N_FeedBack, N_Update});
    MainMenu->addMenu(N_Help);

    PopupMenu = Submenu(this, "PopupMenu", "");
    popMenuItems[0] = LinkedItem(PopupMenu, "popMenu1", ActionFileAdd);
    popMenuItems[1] = LinkedItem(PopupMenu, "popMenu2", ActionFileBatchAdd);
    popMenuItems[2] = LinkedItem(PopupMenu, "popMenu3", ActionFileDelete);
    popMenuItems[3] = LinkedItem(PopupMenu, "popMenu4", ActionFileClearAll);
    popMenuItems[4] = Separator(PopupMenu, "popMenu5");
    popMenuItems[5] = LinkedItem(PopupMenu, "popMenu6", ActionFileMoveUp);
    popMenuItems[6] = LinkedItem(PopupMenu, "popMenu7", ActionFileMoveDown);
}

} // namespace velmora
