// The program's real file dialog refuses a name in a folder that does not exist and stays
// open, as the save dialogs' "path must exist" option asks.
#include "app/QtPrompts.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestQtPrompts : public QObject {
    Q_OBJECT

private slots:
    void saveIntoMissingFolderIsRefusedInTheDialog()
    {
        QTemporaryDir dir;
        FileDialogSettings settings;
        settings.title = QStringLiteral("Save log");
        settings.initialDir = dir.path();
        settings.pathMustExist = true;

        QString refusal;
        bool dialogStayedOpen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("missing/traffic.log"));
            QTimer::singleShot(0, [&, dialog] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                refusal = box->text();
                box->accept();
                QTimer::singleShot(0, [&, dialog] {
                    dialogStayedOpen = dialog->isVisible();
                    dialog->reject();
                });
            });
            dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Save)->click();
        });

        QtPrompts prompts;
        QCOMPARE(prompts.saveFileName(settings), std::nullopt);
        QVERIFY(refusal.contains(QStringLiteral("missing")));
        QVERIFY(dialogStayedOpen);
    }
};

QTEST_MAIN(TestQtPrompts)
#include "tst_qtprompts.moc"
