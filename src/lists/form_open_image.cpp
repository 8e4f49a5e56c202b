#include "lists/form_open_image.h"

#include "lists/file_list_box.h"
#include "lists/thumbnail_preview.h"
#include "platform/path.h"
#include "platform/text_file.h"
#include "widgets/twips.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStorageInfo>

namespace {

constexpr int kBoxWidth = 100;
constexpr int kBoxHeight = 75;

QGroupBox *frame(QWidget *parent, const QString &caption, int x, int y, int w, int h)
{
    auto *g = new QGroupBox(caption, parent);
    g->setGeometry(x, y, w, h);
    return g;
}

} // namespace

QImage readPictureForPreview(const QString &file, int maxSide)
{
    QImageReader reader(file);
    reader.setAllocationLimit(64); // megabytes: a broken or huge header is refused
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > maxSide || size.height() > maxSide))
        reader.setScaledSize(size.scaled(maxSide, maxSide, Qt::KeepAspectRatio));
    return reader.read();
}

Form_OpenImage::Form_OpenImage(const QString &startFolder, const QString &thumbnail, QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form_OpenImage"));
    setWindowTitle(QStringLiteral("サムネイル画像の選択"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(460, 330);

    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setGeometry(8, 8, 200, 24);
    for (const QStorageInfo &v : QStorageInfo::mountedVolumes())
        if (v.isValid() && v.isReady())
            Drive1->addItem(v.rootPath());
    Dir1 = new QListWidget(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setGeometry(8, 36, 200, 140);
    File1 = new FileListBox(this);
    File1->setObjectName(QStringLiteral("File1"));
    File1->setPattern(QStringLiteral("*.bmp;*.jpg;*.gif"));
    File1->setSelectionMode(QAbstractItemView::SingleSelection);
    File1->setGeometry(8, 180, 200, 140);

    QGroupBox *previewFrame = frame(this, QStringLiteral("プレビュー"), 220, 8, 130, 110);
    Picture2 = new QLabel(previewFrame);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setGeometry(15, 25, kBoxWidth, kBoxHeight);
    QGroupBox *nameFrame = frame(this, QStringLiteral("作成されるサムネイル画像名"), 220, 124, 232, 70);
    image_name = new QLabel(thumbnail, nameFrame);
    image_name->setObjectName(QStringLiteral("image_name"));
    image_name->setWordWrap(true);
    image_name->setGeometry(8, 20, 216, 44);
    bt_save = new QPushButton(QStringLiteral("サムネイル画像として保存"), this);
    bt_save->setObjectName(QStringLiteral("bt_save"));
    bt_save->setGeometry(220, 250, 232, 30);
    bt_save->setEnabled(false);
    bt_cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    bt_cancel->setObjectName(QStringLiteral("bt_cancel"));
    bt_cancel->setGeometry(220, 288, 232, 30);

    m_preview = QImage(kBoxWidth, kBoxHeight, QImage::Format_RGB32);
    m_preview.fill(palette().color(QPalette::Window));

    connect(Drive1, &QComboBox::textActivated, this, [this](const QString &root) { setFolder(root); });
    connect(Dir1, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        setFolder(QDir(folder()).absoluteFilePath(item->text()));
    });
    connect(File1, &FileListBox::click, this, [this] {
        if (!File1->fileName().isEmpty())
            File1_Click(path::addbackslash(File1->path()) + File1->fileName());
    });
    connect(bt_save, &QPushButton::clicked, this, &Form_OpenImage::bt_save_Click);
    connect(bt_cancel, &QPushButton::clicked, this, &QWidget::close);

    // Centred on the screen, at the last folder browsed (the program folder when it is gone).
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
    setFolder(startFolder);
}

QString Form_OpenImage::folder() const
{
    return File1->path();
}

void Form_OpenImage::setFolder(const QString &f)
{
    if (!File1->setPath(QDir::cleanPath(f)))
        return;
    Dir1->clear();
    Dir1->addItem(QStringLiteral(".."));
    const QDir dir(File1->path());
    for (const QString &sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
        Dir1->addItem(sub);
    const int drive = Drive1->findText(QStorageInfo(dir).rootPath());
    if (drive >= 0)
        Drive1->setCurrentIndex(drive);
}

bool Form_OpenImage::File1_Click(const QString &file)
{
    m_preview.fill(palette().color(QPalette::Window));
    const QImage picture = readPictureForPreview(file);
    if (picture.isNull()) {
        // A picture that cannot be read leaves an empty preview and nothing to save.
        Picture2->setPixmap(QPixmap::fromImage(m_preview));
        bt_save->setEnabled(false);
        return false;
    }
    const PreviewRect r = previewRect(picture.width(), picture.height(), kBoxWidth, kBoxHeight);
    QPainter p(&m_preview);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(r.x, r.y, r.width, r.height), picture);
    p.end();
    Picture2->setPixmap(QPixmap::fromImage(m_preview));
    bt_save->setEnabled(true);
    return true;
}

void Form_OpenImage::bt_save_Click()
{
    const QString file = image_name->text();
    QDir().mkpath(path::getdirectory(file));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    m_preview.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
    if (platform::writeFileAtomically(file, bytes))
        Q_EMIT saved(file);
    bt_save->setEnabled(false);
    close();
}

void Form_OpenImage::closeEvent(QCloseEvent *e)
{
    Q_EMIT closing(folder());
    e->accept();
}
