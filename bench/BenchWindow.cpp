#include "BenchWindow.h"

#include "app/AppPaths.h"
#include "ui/main/LogView.h"

#include <QFile>
#include <QTest>

#include <cstdio>

// Nobody answers a benchmark's prompts: each is printed and answered No/Cancel.
class PrintedPrompts final : public PromptSeam {
public:
    int shown = 0;

    bool showBox(Box, const QString& caption, const QString& text) override
    {
        ++shown;
        std::fprintf(stderr, "[%s] %s\n", qPrintable(caption), qPrintable(text));
        return false;
    }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> openFileName(const FileDialogSettings&) override { return {}; }
    std::optional<QString> saveFileName(const FileDialogSettings&) override { return {}; }
    void beep() override {}
};

BenchWindow::BenchWindow(const std::string& portPath)
    : m_prompts(std::make_unique<PrintedPrompts>())
{
    installPrompts(m_prompts.get());
    overrideAppPaths(m_dir.path().toStdString(), "vantorel");
    QByteArray ini = "[init]\n";
    if (!portPath.empty())
        ini += "port=" + QByteArray::fromStdString(portPath) + '\n';
    QFile file(m_dir.filePath(QStringLiteral("vantorel.ini")));
    if (!file.open(QIODevice::WriteOnly) || file.write(ini) != ini.size())
        qFatal("cannot write the settings file");
    file.close();
    m_form = std::make_unique<TForm1>();
    m_form->link().OpenOnActivate = !portPath.empty();
}

BenchWindow::~BenchWindow()
{
    m_form.reset();
    installPrompts(nullptr);
}

void BenchWindow::show()
{
    m_form->show();
    m_form->activateWindow();
    if (!QTest::qWaitForWindowActive(m_form.get()))
        qFatal("the main window was never activated");
}

LogView& BenchWindow::log()
{
    return *m_form->findChild<LogView*>(QStringLiteral("m"));
}

int BenchWindow::boxesShown() const
{
    return m_prompts->shown;
}
