// The Misc window's background box: its text is checked when the user presses Enter or leaves the
// box, so the half-typed texts on the way to a value raise no message; every text, the empty one
// too, is checked once.

#include "test_support.h"

#include "forms/Misc.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

using namespace vantor;

class MiscFormTest : public QObject {
    Q_OBJECT
private slots:
    void backgroundIsCheckedOnEnterAndOnLeaving();
};

void MiscFormTest::backgroundIsCheckedOnEnterAndOnLeaving()
{
    testing::ScriptedDialogs dialogs;
    EditorSettings settings;
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *misc = new TMiscForm(settings);
    layout->addWidget(misc);
    auto *elsewhere = new QPushButton(QStringLiteral("elsewhere"));
    layout->addWidget(elsewhere);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *edit = misc->findChild<QLineEdit *>(QStringLiteral("BackEdit"));
    QVERIFY(edit);
    const ColourValue start = settings.backgroundColour;

    edit->setFocus();
    edit->clear();
    QTest::keyClick(edit, Qt::Key_Return); // an empty box is refused on the first Enter
    QCOMPARE(dialogs.errors, QStringList{QStringLiteral("'' is not a valid integer value")});
    QCOMPARE(settings.backgroundColour, start);
    dialogs.errors.clear();

    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("$FF0000")); // passes "$" on the way
    QVERIFY(dialogs.errors.isEmpty());
    QCOMPARE(settings.backgroundColour, start);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(settings.backgroundColour, ColourValue(0xFF0000));

    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("0x"));
    QVERIFY(dialogs.errors.isEmpty());
    elsewhere->setFocus(); // leaving the box checks it
    QCOMPARE(dialogs.errors, QStringList{QStringLiteral("'0x' is not a valid integer value")});
    QCOMPARE(settings.backgroundColour, ColourValue(0xFF0000));

    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("ff"));
    elsewhere->setFocus();
    QCOMPARE(settings.backgroundColour, ColourValue(0xFF));
    QCOMPARE(dialogs.errors.size(), 1);
}

QTEST_MAIN(MiscFormTest)
#include "tst_misc_form.moc"
