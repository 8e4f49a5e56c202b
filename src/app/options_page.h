#pragma once
// The options page: the tab strip Tab_Config with its five frames and their controls, and
// the menu item `original` that shares its option with Check_original. Other rooms read
// the options through the Options view.

#include "widgets/options.h"

#include <QObject>
#include <QString>
#include <array>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QWidget;
class TabStrip;

class OptionsPage : public QObject, public Options
{
    Q_OBJECT
public:
    // The page's controls go into `config`, the list pane's options frame.
    explicit OptionsPage(QWidget *config);

    QWidget *config;
    TabStrip *Tab_Config = nullptr;
    QFrame *Frame_basic = nullptr;
    QFrame *Frame_clip = nullptr;
    QFrame *Frame_Key = nullptr;
    QFrame *Frame_other = nullptr;
    QFrame *soft_info = nullptr;
    QCheckBox *Check_usehome = nullptr;
    QLineEdit *text_home = nullptr;
    QPushButton *bt_selecthome = nullptr;
    QCheckBox *Check_loadthum = nullptr;
    QCheckBox *Check_imagedirchange = nullptr;
    QCheckBox *Check_soutai = nullptr;
    QCheckBox *Check_SeekTop = nullptr;
    QCheckBox *Check_show_popup = nullptr;
    QCheckBox *Check_auto_hide = nullptr;
    QCheckBox *Check_original = nullptr;
    QCheckBox *Check_temae = nullptr;
    QCheckBox *Check_noTaskbar = nullptr;
    QCheckBox *check_resume = nullptr;
    QRadioButton *check_auto_adjust = nullptr;
    QRadioButton *Keep_Aspect = nullptr;
    QRadioButton *use_fullWindow = nullptr;
    QSlider *Scroll_upper = nullptr;
    QSlider *scroll_under = nullptr;
    std::array<QRadioButton *, 4> check_mode{};
    QLabel *message = nullptr;
    QLabel *Ver = nullptr;
    // "再生時は常にオリジナルサイズ" in the size menu.
    QAction *original = nullptr;
    // The home folder, as text_home holds it.
    QString homeDir;

    void Tab_Config_Click();
    void Check_usehome_Click();
    void Check_original_Click();
    // Always on top follows the box (the window modes apply it).
    void Check_temae_Click();
    // Places the page in the list pane: as wide as the file list, as high as the favourites tabs.
    void layoutOptionsPage(int fileWidth, int tabM3uHeight);

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

private:
    void connectOptions();
};

// "バージョン：　Ver." followed by major.minor.revision.
QString versionCaption(int major, int minor, int revision);
