#include "joblist/FolderPicker.h"

#include "platform/qt/FolderPlaces.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QSplitter>
#include <QVBoxLayout>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace velmora {

namespace {
// A dialog that stays inside its window: accepting and rejecting are reported, never hide it.
class EmbeddedFileDialog : public QFileDialog {
public:
    explicit EmbeddedFileDialog(QWidget* parent) : QFileDialog(parent) { setWindowFlags(Qt::Widget); }
    std::function<void(int)> OnDone;

protected:
    void done(int result) override {
        if (OnDone)
            OnDone(result);
    }
};
} // namespace

FolderPicker::FolderPicker(QWidget* parent) : QWidget(parent) {
    auto* dialog = new EmbeddedFileDialog(this);
    dialog_ = dialog;
    dialog_->setObjectName(QStringLiteral("folderDialog"));
    // Qt's own widgets, so that the skin reaches them and the window holds them.
    dialog_->setOption(QFileDialog::DontUseNativeDialog);
    dialog_->setOption(QFileDialog::ShowDirsOnly);
    dialog_->setFileMode(QFileDialog::Directory);
    dialog_->setSidebarUrls(DesktopPlaceUrls());
    // Until told where, at home rather than in the folder the program was started from.
    dialog_->setDirectory(QDir::homePath());
    dialog_->setSizeGripEnabled(false);
    // Names only: the details' columns would not fit beside the places.
    dialog_->setViewMode(QFileDialog::List);
    if (auto* sides = dialog_->findChild<QSplitter*>(QStringLiteral("splitter")))
        sides->setSizes({150, 430});
    // The window around it has OK and Cancel of its own, and folders have no file kinds.
    for (const char* name : {"buttonBox", "fileTypeCombo", "fileTypeLabel"})
        if (auto* part = dialog_->findChild<QWidget*>(QString::fromLatin1(name)))
            part->hide();
    pathField_ = dialog_->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    dialog->OnDone = [this](int result) {
        const auto& report = result == QDialog::Accepted ? OnChosen : OnCancelled;
        if (report)
            report();
    };
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(dialog_);
    dialog_->show();

    auto* locationKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this, nullptr, nullptr,
                                      Qt::WidgetWithChildrenShortcut);
    connect(locationKey, &QShortcut::activated, this, [this] {
        if (pathField_ != nullptr) {
            pathField_->setFocus(Qt::ShortcutFocusReason);
            pathField_->selectAll();
        }
    });
    // Folders are listed in the background; the one to select is selected once its parent is listed.
    if (auto* model = dialog_->findChild<QFileSystemModel*>())
        connect(model, &QFileSystemModel::directoryLoaded, this, [this] { ShowSelected(); });
}

QString FolderPicker::SelectedPath() const {
    const QString chosen = dialog_->selectedFiles().value(0);
    return QFileInfo(chosen).isDir() ? QDir::cleanPath(chosen) : QString();
}

void FolderPicker::SelectPath(const QString& path) {
    QString folder = QDir::cleanPath(path.isEmpty() ? QStringLiteral("/") : path);
    while (!QFileInfo(folder).isDir() && folder != QStringLiteral("/"))
        folder = QFileInfo(folder).path();
    if (folder == QStringLiteral("/")) {
        selecting_.clear();
        dialog_->setDirectory(folder);
        if (pathField_ != nullptr)
            pathField_->clear();
        return;
    }
    selecting_ = folder;
    dialog_->setDirectory(QFileInfo(folder).path());
    ShowSelected();
}

void FolderPicker::ShowSelected() {
    if (selecting_.isEmpty())
        return;
    dialog_->selectFile(selecting_);
    auto* model = dialog_->findChild<QFileSystemModel*>();
    auto* list = dialog_->findChild<QAbstractItemView*>(QStringLiteral("listView"));
    if (model == nullptr || list == nullptr)
        return;
    // Marked in the list too, and in view, once its parent is listed.
    if (const QModelIndex index = model->index(selecting_); index.isValid()) {
        list->setCurrentIndex(index);
        list->scrollTo(index, QAbstractItemView::PositionAtCenter);
    }
}

QString FolderPicker::CreateFolder(const QString& name) {
    const QString parent = SelectedPath();
    if (parent.isEmpty())
        return QString::fromLocal8Bit(strerror(ENOENT));
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name == QStringLiteral(".") ||
        name == QStringLiteral(".."))
        return QString::fromLocal8Bit(strerror(EINVAL));
    const QString path = QDir(parent).filePath(name);
    if (mkdir(QFile::encodeName(path).constData(), 0777) != 0)
        return QString::fromLocal8Bit(strerror(errno));
    SelectPath(path);
    return {};
}

} // namespace velmora
