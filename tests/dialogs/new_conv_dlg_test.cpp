#include "dialogs/new_conv_dlg.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "dialog_checks.h"
#include "ui/float_edit.h"
#include "ui/hover_button.h"

namespace quorvel {
namespace {

TEST(CNewConvDlg, OpensOnTheGivenCategoryAndTexts) {
    struct Case {
        const char* category;
        const char* entry;
        const char* mode;
    };
    constexpr Case kCases[] = {
        {"history", "History", "history"}, {"quickcheck", "Quick check", "quickcheck"},
        {"press", "Pressure", "press"},    {"SPEED", "Speed", "speed"},
        {"time", "Length", "length"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.category);
        CNewConvDlg dialog({c.category, "inch to mm", "25.4"}, true);
        EXPECT_EQ(dialog.categoryBox()->currentText().toStdString(), c.entry);
        EXPECT_EQ(dialog.fields(), (ConversionFields{c.mode, "inch to mm", "25.4"}));
        EXPECT_TRUE(dialog.okButton()->isEnabled());
    }
}

TEST(CNewConvDlg, OkWaitsForADescriptionAndANumber) {
    struct Case {
        const char* description;
        const char* value;
        bool ok;
    };
    constexpr Case kCases[] = {
        {"", "", false},      {"span", "", false},      {"  ", "2", false},   {"span", "-", false},
        {"span", ".", false}, {"span", "0.2286", true}, {"span", "-3", true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.description) + "|" + c.value);
        CNewConvDlg dialog({}, false);
        dialog.show();
        QTest::keyClicks(dialog.descriptionBox(), QString::fromLatin1(c.description));
        QTest::keyClicks(dialog.valueBox(), QString::fromLatin1(c.value));
        EXPECT_EQ(dialog.okButton()->isEnabled(), c.ok);
        QTest::keyClick(dialog.valueBox(), Qt::Key_Return);
        EXPECT_EQ(dialog.result(), c.ok ? QDialog::Accepted : QDialog::Rejected);
    }
}

TEST(CNewConvDlg, ControlsAreNamedAndTheValueBoxTakesNumbersOnly) {
    CNewConvDlg dialog({"length", "", ""}, false);
    dialog.show();
    EXPECT_EQ(testing::unnamedControls(dialog).join(QStringLiteral(", ")), QString());
    EXPECT_EQ(dialog.categoryBox()->count(), 9);
    QTest::keyClicks(dialog.valueBox(), QStringLiteral("-1.2.3a"));
    EXPECT_EQ(dialog.valueBox()->text(), QStringLiteral("-1.23"));
    QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace quorvel
