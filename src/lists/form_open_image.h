#pragma once
// The thumbnail chooser `Form_OpenImage` ("サムネイル画像の選択"): any bmp, jpg or gif picture
// can become a favourites entry's thumbnail. A drive list, a folder list and a file list
// browse for it; the preview shows it as it will be saved, 100 × 75 with its aspect kept.
// The window is not modal: it keeps the entry it was opened for.

#include <QImage>
#include <QWidget>

#include <functional>

class FileListBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

class Form_OpenImage : public QWidget
{
    Q_OBJECT
public:
    // `folder` is where browsing starts (the program folder when it is not an existing
    // folder); `thumbnail` the bitmap file to write; `background` the preview's colour.
    Form_OpenImage(const QString &folder, const QString &thumbnail, QWidget *parent = nullptr);

    QComboBox *Drive1 = nullptr;
    QListWidget *Dir1 = nullptr;
    FileListBox *File1 = nullptr;
    QLabel *Picture2 = nullptr;
    QLabel *image_name = nullptr;
    QPushButton *bt_save = nullptr;
    QPushButton *bt_cancel = nullptr;

    // The folder that File1 shows.
    QString folder() const;
    // Shows a folder in the folder and file lists.
    void setFolder(const QString &folder);
    // The preview of a picture file; false (preview cleared, save disabled) when it cannot
    // be read.
    bool File1_Click(const QString &file);
    void bt_save_Click();
    // The preview as drawn: 100 × 75, the picture over the background.
    QImage preview() const { return m_preview; }

Q_SIGNALS:
    // The thumbnail file was written.
    void saved(const QString &thumbnail);
    // The window closes; `folder` is where the user last browsed.
    void closing(const QString &folder);

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    QImage m_preview;
};

// Reads a picture for the preview, scaled down at reading time so that a huge picture never
// needs its full size in memory; a null image when it cannot be read.
QImage readPictureForPreview(const QString &file, int maxSide = 1024);
