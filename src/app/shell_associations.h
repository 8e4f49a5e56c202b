#pragma once
// The "関連付け" frame of the options page: the program as an "open with" choice of eight
// video types (`Check_kanren`, under "Plovanaを関連付ける") and as their default
// (`Check_default`, under "デフォルトにする"), and "関連付け全解除" (`BtDeleteAll`).
//
// A type is the MIME type the shared MIME database gives the extension; each box writes
// mimeapps.list at once (only this program's id in that type's keys changes). The desktop
// entry the lists name, plovana.desktop, is the installed one when there is one in
// $XDG_DATA_DIRS; otherwise the program writes one for itself into $XDG_DATA_HOME, naming
// its own path. A failure to read or write either file changes nothing and is not reported.

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QPushButton;
class QWidget;

class ShellAssociations : public QObject
{
    Q_OBJECT
public:
    // The controls go into `frame`; `place` lays each out with the frame's others (in
    // rows, top to bottom). `program` is the path the desktop entry starts.
    ShellAssociations(QWidget *frame, const std::function<void(QWidget *)> &place, QString program,
                      QObject *parent);

    // The extensions of the association boxes: mpg, mpeg, avi, asf, wmv, mov, rm, ram.
    static QString extensionOf(int index);
    // The other box of the same extension: the default box of an association box and the
    // other way round (the default boxes of rm and ram stand at 7 and 6).
    static int pairedIndex(int index);

    void Check_kanren_Click(int index);
    void Check_default_Click(int index);
    void BtDeleteAll_Click();
    // Sets the boxes from mimeapps.list (once, at start-up). A desktop entry this program
    // wrote for itself that names a program no longer there is removed first.
    void readAssociations();

    // ---- What other rooms read
    const std::array<QCheckBox *, 8> &Check_kanren() const { return m_Check_kanren; }
    const std::array<QCheckBox *, 8> &Check_default() const { return m_Check_default; }
    QPushButton *BtDeleteAll() const { return m_BtDeleteAll; }

private:
    // The MIME type of association box i's extension; "" when the database knows none.
    static QString mimeTypeOf(int index);
    // mimeapps.list (empty when there is none; nullopt when it is there but cannot be
    // read), and its replacement when the edit changed a list that could be read.
    static std::optional<QByteArray> readList();
    static void writeList(const std::optional<QByteArray> &before, const QByteArray &after);
    // The desktop entry the associations name starts this program.
    void ensureDesktopEntry();
    void removeStaleDesktopEntry();

    QString m_program;

private:
    std::array<QCheckBox *, 8> m_Check_kanren{};
    std::array<QCheckBox *, 8> m_Check_default{};
    QPushButton *m_BtDeleteAll = nullptr;
};
