#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {

class FolderTree;
class LanguageFile;

// The batch-add dialog: a folder, an extension and whether subfolders count.
class TFrmBatchAdd : public QDialog {
    Q_OBJECT

public:
    explicit TFrmBatchAdd(QWidget* parent);

    void LoadLanguageTexts(const LanguageFile& texts);
    void ApplyJapaneseCharset();

    QLabel* labelDirectory;
    FolderTree* ShellTreeView;
    QCheckBox* checkBoxIsSubDirectorie;
    QLabel* labelFileNameExt;
    QLineEdit* editExt;
    QLabel* labelNoticeFileNameExt;
    QPushButton* buttonOK;
    QPushButton* buttonCancel;
};

} // namespace velmora
