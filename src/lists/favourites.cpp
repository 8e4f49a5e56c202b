// The favourites list: its entries, and the list files it is loaded from and saved to.
#include "app/player.h"

#include "dialogs/file_dialogs.h"
#include "lists/extensions.h"
#include "lists/file_list_box.h"
#include "lists/list_file.h"
#include "lists/okini_list.h"
#include "lists/path.h"
#include "lists/tab_strip.h"
#include "platform/file_system.h"
#include "platform/text_file.h"
#include "window/twips.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressBar>
#include <QPushButton>

namespace {
// How long a slice of a long load runs before the window gets its events again.
constexpr int kSliceMs = 40;
} // namespace

void Player::load_okini(const QString &listFile)
{
    completeOkiniLoad(); // a list still loading is read to its end first
    gStrM3uName = listFile;
    if (!platform::normalEntryExists(listFile) || !QFileInfo(listFile).isFile())
        return;
    auto lines = platform::readTextLines(listFile);
    if (!lines)
        return;
    m_okiniLoad = std::make_unique<OkiniLoad>();
    m_okiniLoad->file = listFile;
    m_okiniLoad->folder = path::getdirectory(listFile);
    m_okiniLoad->lines = std::move(*lines);
    m_okiniLoad->id = ++m_okiniLoads;
    runOkiniLoad(true);
}

void Player::completeOkiniLoad()
{
    if (m_okiniLoad)
        runOkiniLoad(false);
}

void Player::runOkiniLoad(bool yielding)
{
    const std::uint64_t id = m_okiniLoad->id;
    OkiniLoad *load = m_okiniLoad.get();
    QElapsedTimer slice;
    slice.start();
    bool progressShown = false;
    while (load->next < load->lines.size()) {
        const QString resolved = resolveListLine(load->lines.at(load->next++), load->folder);
        if (const auto entry = splitListLine(resolved)) {
            if (platform::normalEntryExists(entry->first + u'/' + entry->second))
                add_okini_item(entry->first, entry->second);
        }
        if (yielding && slice.elapsed() > kSliceMs) {
            if (!progressShown) {
                twips::place(AddMeter, twips::left(list), 0, twips::width(File), 255);
                twips::place(bt_msg_add, twips::left(list), 255, twips::width(File), 300);
                AddMeter->setRange(0, static_cast<int>(load->lines.size()));
                AddMeter->show();
                AddMeter->raise();
                bt_msg_add->show();
                bt_msg_add->raise();
                setCursor(Qt::BusyCursor);
                progressShown = true;
            }
            AddMeter->setValue(static_cast<int>(load->next));
            QCoreApplication::processEvents();
            // Meanwhile the load may have been finished (a save of the list waits for
            // its end) or given up (the list was cleared for another one).
            if (!m_okiniLoad || m_okiniLoad->id != id)
                return;
            slice.restart();
        }
    }
    m_okiniLoad.reset();
    AddMeter->hide();
    bt_msg_add->hide();
    bt_msg_add->setText(QString());
    unsetCursor();
}

void Player::save_okini(const QString &listFile)
{
    if (listFile.isEmpty())
        return; // no list was ever loaded: nothing may be written over okini.ini
    if (m_okiniLoad && m_okiniLoad->file == listFile)
        completeOkiniLoad(); // a half-read list never replaces the whole one
    const QString listFolder = path::getdirectory(listFile);
    const bool relative = Check_soutai->isChecked();
    QStringList lines;
    lines.reserve(List_okini->count());
    for (int i = 1; i <= List_okini->count(); ++i) {
        if (const auto line = listFileLine(List_okini->folder(i), List_okini->text(i), listFolder, relative))
            lines.append(*line);
    }
    // The whole list goes to a temporary file that then replaces the old one, so an error
    // while writing leaves the old list as it was.
    platform::writeTextLines(listFile, lines);
}

void Player::del_all_list()
{
    if (m_okiniLoad) {
        m_okiniLoad.reset(); // the list is replaced: the rest of a load is not wanted
        AddMeter->hide();
        bt_msg_add->hide();
        unsetCursor();
    }
    // Every entry and every picture goes, as removing them one by one from the last would.
    List_okini->setIcons(nullptr);
    List_okini->clear();
    Image_okini->clear();
    relink_okini_icons();
}

void Player::set_image_dir(const QString &folder)
{
    imageDir = Check_imagedirchange->isChecked() ? path::addbackslash(folder) + QStringLiteral("image/")
                                                 : appDir + QStringLiteral("image/");
}

void Player::make_thumbnail(const QString &, double, const QString &)
{
    // Thumbnails are made from a frame of the file with the thumbnail work.
}

void Player::add_okini_item(const QString &folder, const QString &name)
{
    if (!List_okini->isVisibleTo(this))
        bt_msg_add->setText(name + QStringLiteral("を追加しています・・・"));
    if (Check_loadthum->isChecked()) {
        List_okini->add(name, path::addbackslash(folder), 0);
        return;
    }
    set_image_dir(folder);
    const QString bitmap = path::addbackslash(imageDir) + path::getfiletitle(name) + QStringLiteral(".bmp");
    if (!QFileInfo::exists(bitmap) && can_make_thumbnail(path::getextension(name)))
        make_thumbnail(path::addbackslash(folder) + name, 0, bitmap);
    QPixmap picture;
    if (!QFileInfo::exists(bitmap) || !picture.load(bitmap))
        picture = NoImage;
    Image_okini->add(picture);
    const int before = List_okini->count();
    if (before == 0)
        List_okini->setIcons(Image_okini.get());
    List_okini->add(name, path::addbackslash(folder), before + 1);
}

void Player::remove_okini_item(int i)
{
    if (i < 1 || i > List_okini->count())
        return;
    Image_okini->remove(i);
    List_okini->remove(i);
}

void Player::relink_okini_icons()
{
    if (Check_loadthum->isChecked() || List_okini->count() == 0)
        return;
    List_okini->setIcons(Image_okini.get());
    for (int i = 1; i <= List_okini->count(); ++i)
        List_okini->setIcon(i, i);
}

void Player::setThumbnailView(int flag)
{
    thumbnailView = flag;
    List_okini->setThumbnails(flag == -1);
}

void Player::m_chage_list_Click()
{
    setThumbnailView(~thumbnailView);
}

void Player::Check_loadthum_Click()
{
    if (Check_loadthum->isChecked()) {
        setThumbnailView(0);
        m_chage_list->setEnabled(false);
        return;
    }
    setThumbnailView(-1);
    m_chage_list->setEnabled(true);
    switchOkiniList(gStrM3uName); // rebuilt with thumbnails
}

void Player::switchOkiniList(const QString &listFile)
{
    save_okini(gStrM3uName);
    del_all_list();
    load_okini(listFile);
}

FileDialogRequest m3uRequest(const QString &title, const QString &initialDir, int filterIndex)
{
    FileDialogRequest r;
    r.defaultExt = QStringLiteral("m3u");
    r.title = title;
    r.filter = QStringLiteral("m3u(*.m3u)|*.m3u");
    r.filterIndex = filterIndex;
    r.flags = 4;
    r.initialDir = initialDir;
    r.maxLength = 260;
    return r;
}

void Player::m_save_m3u_Click()
{
    FileDialogRequest r = m3uRequest(QStringLiteral("m3uファイルに保存"), appDir, 1);
    if (showSaveFileDialog(*services.dialogs, this, r))
        save_okini(r.fullPath);
}

void Player::m_open_m3u_Click()
{
    m_add_tab_okini_Click();
}
