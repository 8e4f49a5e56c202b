#include "dialogs/dialogs.h"

#include "dialogs/colour_value.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

namespace {

// A box asked without a title shows the program's name, not the executable's.
QString boxTitle(const QString &title)
{
    return title.isEmpty() ? QStringLiteral("Plovana") : title;
}

class QtDialogs final : public Dialogs
{
public:
    Answer message(QWidget *owner, const QString &text, const QString &title, Buttons buttons) override
    {
        if (buttons == Buttons::Ok) {
            QMessageBox::information(owner, boxTitle(title), text, QMessageBox::Ok);
            return Answer::Ok;
        }
        return QMessageBox::question(owner, boxTitle(title), text, QMessageBox::Yes | QMessageBox::No)
                       == QMessageBox::Yes
                   ? Answer::Yes
                   : Answer::No;
    }

    QString input(QWidget *owner, const QString &prompt, const QString &title,
                  const QString &defaultText) override
    {
        bool ok = false;
        const QString t = QInputDialog::getText(owner, boxTitle(title), prompt, QLineEdit::Normal, defaultText, &ok);
        return ok ? t : QString();
    }

    QString file(QWidget *owner, const FileDialogOptions &options) override
    {
        QFileDialog dlg(owner, options.title, options.initialDir);
        dlg.setAcceptMode(options.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dlg.setFileMode(options.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (!options.defaultExt.isEmpty())
            dlg.setDefaultSuffix(options.defaultExt);
        QStringList filters;
        for (qsizetype i = 0; i < options.filterNames.size(); ++i) {
            const QString pattern = options.filterPatterns.value(i);
            const QString name = options.filterNames.at(i);
            // Qt reads the patterns from the parentheses of the filter's text.
            filters.append(name.contains(QStringLiteral("(") + pattern + u')')
                               ? name
                               : name + QStringLiteral(" (") + pattern + u')');
        }
        if (!filters.isEmpty()) {
            dlg.setNameFilters(filters);
            dlg.selectNameFilter(filters.value(std::max(0, options.filterIndex - 1)));
        }
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
            return QString();
        return dlg.selectedFiles().first();
    }

    QString folder(QWidget *owner, const QString &title, const QString &initialPath, bool rooted) override
    {
        QFileDialog dlg(owner, title, initialPath);
        dlg.setFileMode(QFileDialog::Directory);
        dlg.setOption(QFileDialog::ShowDirsOnly, true);
        if (rooted && !initialPath.isEmpty()) {
            const QString root = initialPath;
            QObject::connect(&dlg, &QFileDialog::directoryEntered, &dlg, [&dlg, root](const QString &d) {
                if (!d.startsWith(root))
                    dlg.setDirectory(root);
            });
        }
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
            return QString();
        return dlg.selectedFiles().first();
    }

    bool color(QWidget *owner, int &colour) override
    {
        for (int i = 0; i < QColorDialog::customCount(); ++i)
            QColorDialog::setCustomColor(i, QColor(255, 255, 255));
        const QColor initial(colour::red(colour), colour::green(colour), colour::blue(colour));
        QColorDialog dlg(initial, owner);
        if (dlg.exec() != QDialog::Accepted)
            return false;
        const QColor chosen = dlg.selectedColor();
        if (!chosen.isValid())
            return false;
        colour = colour::value(chosen.red(), chosen.green(), chosen.blue());
        return true;
    }

    void beep() override { QApplication::beep(); }
};

} // namespace

std::unique_ptr<Dialogs> makeQtDialogs()
{
    return std::make_unique<QtDialogs>();
}

std::unique_ptr<QTranslator> installQtTranslations()
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || !QCoreApplication::installTranslator(translator.get()))
        return nullptr;
    return translator;
}
