#pragma once
// Every message box, input box, file dialog, folder browser and colour dialog of the program
// goes through
// this interface, so that window tests can answer them from a script. The program uses
// the Qt implementation.

#include <QString>
#include <QStringList>
#include <memory>

class QTranslator;
class QWidget;

// What a file dialog is asked to show, after the request's fields were normalised.
struct FileDialogOptions
{
    bool save = false;
    QString title;
    QString initialDir;
    QString defaultExt;          // without a dot
    QStringList filterNames;     // descriptions, e.g. "m3u(*.m3u)"
    QStringList filterPatterns;  // patterns, e.g. "*.m3u"
    int filterIndex = 0;         // 1-based; 0 means the first
};

class Dialogs
{
public:
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    virtual ~Dialogs() = default;

    virtual Answer message(QWidget *owner, const QString &text, const QString &title,
                           Buttons buttons) = 0;
    // The text the user typed; "" when cancelled (as an input box answers).
    virtual QString input(QWidget *owner, const QString &prompt, const QString &title,
                          const QString &defaultText) = 0;
    // The chosen file's full path; "" when cancelled.
    virtual QString file(QWidget *owner, const FileDialogOptions &options) = 0;
    // The chosen folder; "" when cancelled. `rooted`: the browser shows only the initial
    // folder and what lies below it.
    virtual QString folder(QWidget *owner, const QString &title, const QString &initialPath,
                           bool rooted) = 0;
    // The colour dialog, opened at `colour` (a colour value 0x00BBGGRR, colour_value.h) with
    // sixteen white custom colours. True when the user confirmed; `colour` then holds the
    // choice, and is left as it was otherwise.
    virtual bool color(QWidget *owner, int &colour) = 0;
    virtual void beep() = 0;
};

// Message and input boxes asked without a title carry the program's name.
std::unique_ptr<Dialogs> makeQtDialogs();

// Qt's own Japanese texts (qtbase_ja.qm from Qt's translations folder), installed in the
// application whatever the system's locale: the standard buttons read はい, いいえ, キャンセル,
// and the file dialogs speak Japanese. Null when the file is missing or unreadable (Qt's
// English texts stay). Deleting the translator takes the texts out again.
std::unique_ptr<QTranslator> installQtTranslations();
