#include "app/QtPrompts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QWidget* dialogParent()
{
    return QApplication::activeWindow();
}

// A file dialog that refuses a name whose folder, or (when asked) whose file, does not exist,
// and stays open for another choice.
class CheckedFileDialog final : public QFileDialog {
public:
    explicit CheckedFileDialog(const FileDialogSettings& settings)
        : QFileDialog(dialogParent(), settings.title, settings.initialDir)
        , m_pathMustExist(settings.pathMustExist)
        , m_fileMustExist(settings.fileMustExist)
    {
    }

    void accept() override
    {
        const QStringList chosen = selectedFiles();
        if (!chosen.isEmpty()) {
            const QFileInfo file(chosen.constFirst());
            if (m_pathMustExist && !file.absoluteDir().exists())
                return refuse(tr("%1\nThe folder does not exist. Check the path and try again."), file);
            if (m_fileMustExist && !file.isDir() && !file.exists())
                return refuse(tr("%1\nThe file does not exist. Check the file name and try again."), file);
        }
        QFileDialog::accept();
    }

private:
    void refuse(const QString& text, const QFileInfo& file)
    {
        QMessageBox::warning(this, windowTitle(), text.arg(QDir::toNativeSeparators(file.absoluteFilePath())));
    }

    bool m_pathMustExist;
    bool m_fileMustExist;
};

std::optional<QString> runFileDialog(const FileDialogSettings& settings, QFileDialog::AcceptMode mode)
{
    CheckedFileDialog dialog(settings);
    dialog.setAcceptMode(mode);
    dialog.setNameFilters(qtNameFilters(settings.filter));
    QString suffix = settings.defaultExt;
    if (suffix.startsWith('.'))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    dialog.setFileMode(settings.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !settings.overwritePrompt);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(settings.resizable);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QStringList qtNameFilters(const QString& filter)
{
    const QStringList parts = filter.split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        if (pattern == "*.*")
            pattern = "*";
        filters << QStringLiteral("%1 (%2)").arg(parts[i], pattern);
    }
    return filters;
}

bool QtPrompts::showBox(Box kind, const QString& caption, const QString& text)
{
    QMessageBox box(dialogParent());
    box.setWindowTitle(caption);
    box.setText(text);
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    switch (kind) {
    case Box::Information:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Box::Error:
        box.setIcon(QMessageBox::Critical);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Box::Question:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    }
    const int answer = box.exec();
    return answer == QMessageBox::Ok || answer == QMessageBox::Yes;
}

std::optional<QString> QtPrompts::inputBox(const QString& caption, const QString& prompt,
                                           const QString& initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(dialogParent(), caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return {};
    return text;
}

std::optional<QString> QtPrompts::openFileName(const FileDialogSettings& dialog)
{
    return runFileDialog(dialog, QFileDialog::AcceptOpen);
}

std::optional<QString> QtPrompts::saveFileName(const FileDialogSettings& dialog)
{
    return runFileDialog(dialog, QFileDialog::AcceptSave);
}

void QtPrompts::beep()
{
    QApplication::beep();
}
