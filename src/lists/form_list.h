#pragma once
// The list editor `Form_List` ("リスト編集"): a window of its own in which the favourites
// tabs (mode 0), the directory tabs (mode 1) or the entries of the favourites list shown
// (mode 2) are reordered, removed and renamed. It edits a copy in `ListView` (the row's
// text, and the tab's path or the file's folder); "save" writes the copy to the list's
// file and makes the main window read it again. While it is open the main window is
// hidden; closing it brings the main window back and writes nothing.

#include <QString>
#include <QStringList>
#include <QWidget>

class ListEditorHost;
class QColor;
class QPushButton;
class QTreeWidget;

class Form_List : public QWidget
{
    Q_OBJECT
public:
    // `mainWindow` is hidden while the editor is open.
    Form_List(ListEditorHost &host, QWidget *mainWindow);

    // Shows the editor with the list of a mode (the main window writes it first) and hides
    // the main window.
    void Init_Form_List(int mode);
    // Writes the rows to the list's file and makes the main window read it again; the
    // editor stays open.
    void End_Form_List();
    // The selected row trades its text and path with the row above (the first with the
    // last), or below (the last with the first); the selection follows it.
    void bt_up_Click();
    void bt_down_Click();
    // Removes the selected row.
    void bt_del_Click();
    void bt_save_Click() { End_Form_List(); }
    // Hides the editor and shows the main window; nothing is written.
    void bt_exit_Click();
    // F2 (key code 113) edits the selected row's text in place.
    void ListView_KeyUp(int key);
    // Mode 2: the dropped media files that are not listed yet are appended.
    void ListView_OLEDragDrop(const QStringList &files);
    // Shutdown: the editor closes and the main window stays as it is.
    void unload();
    // The lists' colours.
    void setListForeColor(const QColor &c);
    void setListBackColor(const QColor &c);

    int mode() const { return m_mode; }
    // The rows, 1-based: their text and their path (sub-item 1).
    int rowCount() const;
    QString rowText(int i) const;
    QString rowPath(int i) const;
    // The selected row, 1-based; 0 when none.
    int selectedRow() const;
    void selectRow(int i);

    // ---- What other rooms read
    QTreeWidget *ListView() const { return m_ListView; }
    QPushButton *bt_up() const { return m_bt_up; }
    QPushButton *bt_down() const { return m_bt_down; }
    QPushButton *bt_del() const { return m_bt_del; }
    QPushButton *bt_save() const { return m_bt_save; }
    QPushButton *bt_exit() const { return m_bt_exit; }

protected:
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void addRows(const QList<QStringList> &rows);
    void swapWith(int offset);

    ListEditorHost &m_host;
    QWidget *m_mainWindow;
    int m_mode = 0;
    QString m_listFile; // the file the rows were read from and are written to
    bool m_unloading = false;
    bool m_placed = false;

private:
    QTreeWidget *m_ListView = nullptr;
    QPushButton *m_bt_up = nullptr;
    QPushButton *m_bt_down = nullptr;
    QPushButton *m_bt_del = nullptr;
    QPushButton *m_bt_save = nullptr;
    QPushButton *m_bt_exit = nullptr;
};
