#pragma once
// A tab strip whose tabs carry a key, a caption and a tag, indexed from 1 at its interface.
// The tabs stand on one edge; the rest of the strip is its client area, over which the
// main window lays the page that belongs to the strip.

#include <QTabBar>
#include <QWidget>

class TabStrip : public QWidget
{
    Q_OBJECT
public:
    enum class Edge { Top, Bottom, Right };

    TabStrip(Edge edge, QWidget *parent);

    int count() const;
    // The selected tab, 1-based; 0 when there is none.
    int selectedIndex() const;
    // Selects tab i; runs the Click handler as a user's selection would.
    void select(int i);

    QString key(int i) const;
    QString caption(int i) const;
    void setCaption(int i, const QString &c);
    QString tag(int i) const;
    void setTag(int i, const QString &t);
    void setTabToolTip(int i, const QString &t);

    // Inserts a tab at position i (1-based; count() + 1 or 0 appends). Returns its index.
    int add(int i, const QString &key, const QString &caption, const QString &tag = {});
    void remove(int i);
    void clear();

    // The tab under a point of the strip (1-based), or 0.
    int tabAt(QPoint pos) const;

    // Size of the area inside the tabs, in twips.
    int clientWidth() const;
    int clientHeight() const;

    QTabBar *tabBar() const { return m_bar; }

Q_SIGNALS:
    void clicked();
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void keyDown(int key, Qt::KeyboardModifiers shift);
    void keyUp(int key, Qt::KeyboardModifiers shift);
    void gotFocus();
    // A tab came, went, or changed its caption or tag.
    void tabsChanged();

protected:
    void resizeEvent(QResizeEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    struct TabData
    {
        QString key;
        QString tag;
    };
    void placeBar();

    Edge m_edge;
    QTabBar *m_bar;
    bool m_changing = false;
};
