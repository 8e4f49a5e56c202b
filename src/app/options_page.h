#pragma once
// The options page: the tab strip Tab_Config with its five frames and their controls.
// "再生時は常にオリジナルサイズ" is also an item of the size menu (the window modes' command),
// which shows Check_original. Other rooms read the options through the Options view.
// The page also keeps the lists' colours (its two colour buttons hold them, color.ini
// stores them; the lists' owners follow the signals), the file-type associations
// (ShellAssociations, in 関連付け) and the read-outs of ソフト情報.

#include "widgets/options.h"

#include <array>
#include <memory>
#include <QObject>
#include <QString>

class Commands;
struct ConfigValues;
class DesktopShell;
class Dialogs;
class QCheckBox;
class QColor;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QWidget;
class SaveSoon;
class ShellAssociations;
class TabStrip;

class OptionsPage : public QObject, public Options
{
    Q_OBJECT
public:
    // The page's controls go into `config`, the list pane's options frame. `program` is the
    // path the file-type associations start.
    OptionsPage(QWidget *config, Commands &commands, std::shared_ptr<Dialogs> dialogs,
                std::shared_ptr<DesktopShell> shell, const QString &program);
    ~OptionsPage() override;


    // config.ini: applies this room's keys at start-up, and gathers them at shutdown.
    void restoreConfig(const ConfigValues &c);
    void saveConfig(ConfigValues &c) const;
    // The home folder ("" until config.ini or the first start gives one), and its box
    // showing it.
    void setHomeDir(const QString &folder) { m_homeDir = folder; }
    void showHomeDir();
    void Tab_Config_Click();
    void Check_usehome_Click();
    void Check_original_Click();
    // Always on top follows the box (the window modes apply it).
    void Check_temae_Click();
    // Places the page in the list pane: as wide as the file list, as high as the favourites tabs.
    void layoutOptionsPage(int fileWidth, int tabM3uHeight);
    // The home folder from a folder browser; a cancelled browser keeps the one there is.
    void bt_selecthome_Click();
    // The pointer over mouse mode i: its description (Tag) shows in `message`.
    void check_mode_MouseMove(int index);

    // ---- The lists' colours, as colour values (0x00BBGGRR)
    // The colour buttons' colours: the lists' text and background colours.
    int listForeColor() const;
    int listBackColor() const;
    // Apply a colour: the button shows it, and the lists follow (the signals).
    void CngListForeColor(int colour);
    void CngListbackColor(int colour);
    // The colour dialog, opened at black; a cancelled dialog changes nothing.
    void bt_cngForeColor_Click();
    void bt_cngBackColor_Click();
    // Light blue text on black.
    void bt_default_color_Click();
    // color.ini in the state folder: read at start-up (none: the design colours stay),
    // written soon after the user changes a colour (so a session that ends without a
    // shutdown keeps it) and at shutdown, which stops the saves soon first (stopSaving).
    void loadListColors(const QString &appDir);
    void saveListColors(const QString &appDir) const;
    void stopSaving();
    // The save due soon (the tests' view of the debounce; null before loadListColors).
    const SaveSoon *colorsSave() const { return m_colorsSave; }

    // ---- 関連付け and ソフト情報
    void readAssociations();
    // The memory and display read-outs (each time ソフト情報 is shown).
    void showMemoryInfo();
    void showDisplayInfo();
    // The home page's address (the build's; "" hides the link).
    void setHomePage(const QString &address);
    void LHomepage_Click();
    // The pointer over the link underlines it; over the rest of ソフト情報 it does not.
    void LHomepage_MouseMove();
    void soft_info_MouseMove();

    // Frame_Key's controls stand in this widget; a control placed there at its design
    // rectangle (twips) joins the frame's layout. The key bindings put their boxes there.
    QWidget *keyFrameContents() const;
    void addToKeyFrame(QWidget *control);

    // The mouse mode of the video area (0..3): the first checked of the first three, else 3.
    int mouseMode() const override;
    // Selects a fitting option button (0..2); any other value leaves none selected.
    void setFitMode(int mode);

    bool soutai() const override;
    bool imageDirBesideFiles() const override;
    bool loadThumbnailsOff() const override;
    void setLoadThumbnailsOff(bool on) override;
    bool originalSize() const override;
    int fitMode() const override;
    int upperClip() const override;
    int underClip() const override;
    void setAutoAdjust(bool on) override;
    bool noTaskbar() const override;
    bool autoListHide() const override;
    void setTopmostCheck(bool on) override;
    void setOriginalSize(bool on) override;
    bool showPopup() const override;
    bool resume() const override;
    bool seekPreview() const override;

    // ---- What other rooms read
    QWidget *config() const { return m_config; }
    TabStrip *Tab_Config() const { return m_Tab_Config; }
    QFrame *Frame_basic() const { return m_Frame_basic; }
    QFrame *Frame_clip() const { return m_Frame_clip; }
    QFrame *Frame_Key() const { return m_Frame_Key; }
    QFrame *Frame_other() const { return m_Frame_other; }
    QFrame *soft_info() const { return m_soft_info; }
    QCheckBox *Check_usehome() const { return m_Check_usehome; }
    QLineEdit *text_home() const { return m_text_home; }
    QPushButton *bt_selecthome() const { return m_bt_selecthome; }
    QCheckBox *Check_loadthum() const { return m_Check_loadthum; }
    QCheckBox *Check_imagedirchange() const { return m_Check_imagedirchange; }
    QCheckBox *Check_soutai() const { return m_Check_soutai; }
    QCheckBox *Check_SeekTop() const { return m_Check_SeekTop; }
    QCheckBox *Check_show_popup() const { return m_Check_show_popup; }
    QCheckBox *Check_auto_hide() const { return m_Check_auto_hide; }
    QCheckBox *Check_original() const { return m_Check_original; }
    QCheckBox *Check_temae() const { return m_Check_temae; }
    QCheckBox *Check_noTaskbar() const { return m_Check_noTaskbar; }
    QCheckBox *check_resume() const { return m_check_resume; }
    QCheckBox *Check_SeekPreview() const { return m_Check_SeekPreview; }
    QRadioButton *check_auto_adjust() const { return m_check_auto_adjust; }
    QRadioButton *Keep_Aspect() const { return m_Keep_Aspect; }
    QRadioButton *use_fullWindow() const { return m_use_fullWindow; }
    QSlider *Scroll_upper() const { return m_Scroll_upper; }
    QSlider *scroll_under() const { return m_scroll_under; }
    const std::array<QRadioButton*, 4> &check_mode() const { return m_check_mode; }
    QLabel *message() const { return m_message; }
    QLabel *Ver() const { return m_Ver; }
    QPushButton *bt_cngForeColor() const { return m_bt_cngForeColor; }
    QPushButton *bt_cngBackColor() const { return m_bt_cngBackColor; }
    QPushButton *bt_default_color() const { return m_bt_default_color; }
    ShellAssociations *associations() const { return m_associations; }
    QProgressBar *pbMem() const { return m_pbMem; }
    QLabel *lblMem() const { return m_lblMem; }
    QLabel *lblDisplay() const { return m_lblDisplay; }
    QLabel *LHomepage() const { return m_LHomepage; }
    const QString &homePage() const { return m_homePage; }
    // The home folder, as text_home holds it.
    const QString &homeDir() const { return m_homeDir; }

Q_SIGNALS:
    // Check_loadthum changed (by the user or in code).
    void loadThumbnailsToggled();
    // Check_temae changed.
    void topmostToggled(bool on);
    // A fitting option that fits the picture (Keep_Aspect, use_fullWindow) became selected.
    void fittingChosen();
    // "リサイズ時にウィンドウサイズを自動で最適化" became selected.
    void autoAdjustChosen();
    // A clip slider moved.
    void upperClipChanged();
    void underClipChanged();
    // The lists' text or background colour changed.
    void listForeColorChanged(const QColor &colour);
    void listBackColorChanged(const QColor &colour);

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void connectOptions();
    // A colour chosen by the user: color.ini is saved soon.
    void colorsChosen();
    void buildColourControls();
    void buildInformation();

    Commands &m_commands;
    std::shared_ptr<Dialogs> m_dialogs;
    std::shared_ptr<DesktopShell> m_shell;

private:
    SaveSoon *m_colorsSave = nullptr;
    QString m_colorsFile;
    QWidget *m_config;
    TabStrip *m_Tab_Config = nullptr;
    QFrame *m_Frame_basic = nullptr;
    QFrame *m_Frame_clip = nullptr;
    QFrame *m_Frame_Key = nullptr;
    QFrame *m_Frame_other = nullptr;
    QFrame *m_soft_info = nullptr;
    QCheckBox *m_Check_usehome = nullptr;
    QLineEdit *m_text_home = nullptr;
    QPushButton *m_bt_selecthome = nullptr;
    QCheckBox *m_Check_loadthum = nullptr;
    QCheckBox *m_Check_imagedirchange = nullptr;
    QCheckBox *m_Check_soutai = nullptr;
    QCheckBox *m_Check_SeekTop = nullptr;
    QCheckBox *m_Check_show_popup = nullptr;
    QCheckBox *m_Check_auto_hide = nullptr;
    QCheckBox *m_Check_original = nullptr;
    QCheckBox *m_Check_temae = nullptr;
    QCheckBox *m_Check_noTaskbar = nullptr;
    QCheckBox *m_check_resume = nullptr;
    QCheckBox *m_Check_SeekPreview = nullptr;
    QRadioButton *m_check_auto_adjust = nullptr;
    QRadioButton *m_Keep_Aspect = nullptr;
    QRadioButton *m_use_fullWindow = nullptr;
    QSlider *m_Scroll_upper = nullptr;
    QSlider *m_scroll_under = nullptr;
    std::array<QRadioButton *, 4> m_check_mode{};
    QLabel *m_message = nullptr;
    QLabel *m_Ver = nullptr;
    QPushButton *m_bt_cngForeColor = nullptr;
    QPushButton *m_bt_cngBackColor = nullptr;
    QPushButton *m_bt_default_color = nullptr;
    ShellAssociations *m_associations = nullptr;
    QProgressBar *m_pbMem = nullptr;
    QLabel *m_lblMem = nullptr;
    QLabel *m_lblDisplay = nullptr;
    QLabel *m_homePageCaption = nullptr; // "ホームページ"
    QLabel *m_LHomepage = nullptr;
    QString m_homePage;
    // The home folder, as text_home holds it.
    QString m_homeDir;
};

// "バージョン：　Ver." followed by major.minor.revision.
QString versionCaption(int major, int minor, int revision);
