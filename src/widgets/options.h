#pragma once
// The options that other rooms of the program read: a small view of the options page, so
// that nobody reaches into its check boxes and option buttons.

class Options
{
public:
    virtual ~Options() = default;

    // "セーブ時に相対ディレクトリを使用": lists and tabs are saved with "./" and "../" paths.
    virtual bool soutai() const = 0;
    // "imageディレクトリをファイルのあるディレクトリの下に作る".
    virtual bool imageDirBesideFiles() const = 0;
    // "サムネイルをロードしない".
    virtual bool loadThumbnailsOff() const = 0;
    virtual void setLoadThumbnailsOff(bool on) = 0;
    // "再生時は常にオリジナルサイズ" (the menu item `original`).
    virtual bool originalSize() const = 0;
    // The fitting of the picture: 0 the window follows the video (check_auto_adjust),
    // 1 keep the aspect ratio, 2 fill the video area; -1 when none is selected.
    virtual int fitMode() const = 0;
    // The clip sliders "上" and "下" (Scroll_upper, scroll_under): percent of the picture height.
    virtual int upperClip() const = 0;
    virtual int underClip() const = 0;
    // Switches "リサイズ時にウィンドウサイズを自動で最適化" alone on or off (none selected when off).
    virtual void setAutoAdjust(bool on) = 0;
    // "最小化時にタスクバーにいれない".
    virtual bool noTaskbar() const = 0;
    // "バブルアップヘルプを表示する".
    virtual bool showPopup() const = 0;
    // "再生情報の復元".
    virtual bool resume() const = 0;
    // "シークバーにプレビューを表示".
    virtual bool seekPreview() const = 0;
    // "カーソルの位置から、リストの自動表示・非表示".
    virtual bool autoListHide() const = 0;
    // The mouse mode "mode1".."mode4" as 0..3.
    virtual int mouseMode() const = 0;
    // "常に手前に表示" follows the window's always-on-top state.
    virtual void setTopmostCheck(bool on) = 0;
    // "再生時は常にオリジナルサイズ" set from its menu item.
    virtual void setOriginalSize(bool on) = 0;
};
