#pragma once
// Reads a list file (okini.ini or an m3u) entry by entry, in slices: between slices the
// window gets its events, so a list of many thousands of entries never freezes it. Each
// load has a generation id; a load that was completed or given up meanwhile is never
// continued. No widget here: the owner adds the entries and shows the progress.

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

class ListLoader : public QObject
{
    Q_OBJECT
public:
    // Called for every entry whose file exists, in the list's order.
    using AddEntry = std::function<void(const QString &folder, const QString &name)>;

    // How long a slice runs before the window gets its events again.
    static constexpr int kSliceMs = 40;

    explicit ListLoader(QObject *parent = nullptr);
    ~ListLoader() override;

    // Reads the list file and adds its entries, yielding between slices. Returns when the
    // load ended, was completed by complete() or was given up by cancel(). False when the
    // file is missing, not a normal file, or cannot be read: nothing is added then.
    bool load(const QString &listFile, AddEntry add);
    // Adds the rest of a load under way at once.
    void complete();
    // Gives the rest of a load under way up.
    void cancel();

    bool isLoading() const { return m_load != nullptr; }
    // The list file being loaded; "" when none.
    QString file() const;

Q_SIGNALS:
    // A load outgrew its first slice: the progress is worth showing, out of `total` lines.
    void progressStarted(int total);
    void progressed(int done);
    // A load added its last entry (not after cancel()).
    void finished();

private:
    struct Load
    {
        QString file;
        QString folder;
        QStringList lines;
        qsizetype next = 0;
        std::uint64_t id = 0;
        AddEntry add;
    };
    void run(bool yielding);

    std::unique_ptr<Load> m_load;
    std::uint64_t m_loads = 0;
};
