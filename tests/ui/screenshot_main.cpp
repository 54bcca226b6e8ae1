// Shows a skinned dialog with every kind of picture button, the input message dialog, the
// cartoon outline and the popup menu, then saves the screen. On a real X server it also checks
// that the cut-out corners of the dialog show the desktop, not the skin.

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "support/screenshot.h"
#include "ui/banner_menu.h"
#include "ui/hover_button.h"
#include "ui/input_msg_dlg.h"
#include "ui/latching_button.h"
#include "ui/skin_resources.h"
#include "ui/skinned_dialog.h"

using quorvel::BannerMenu;
using quorvel::CInputMsgDlg;
using quorvel::HoverButton;
using quorvel::LatchingButton;
using quorvel::SkinnedDialog;
namespace skins = quorvel::skins;

namespace {

struct Row {
    const char* title;
    skins::ButtonPictures pictures;
    int width;
    int height;
    const char* captions[4];
};

const Row kRows[] = {
    {"Keys", skins::kKey, 40, 30, {"7", "8", "9", "sin"}},
    {"Operators", skins::kAccentKey, 40, 30, {"+", "-", "*", "="}},
    {"Mini keys", skins::kMiniKey, 32, 24, {"1", "2", "3", "("}},
    {"Cartoon keys", skins::kCartoonKey, 42, 36, {"4", "5", "6", "/"}},
    {"Buttons", skins::kButton, 65, 25, {"OK", "Help", "Close", "Cancel"}},
    {"Catalogs", skins::kTab, 70, 25, {"add", "minus", "time", "other"}},
};

HoverButton* g_hoverTarget = nullptr;

void buildDemo(SkinnedDialog& dialog) {
    dialog.setWindowTitle(QStringLiteral("Quorvel"));
    dialog.setFixedSize(620, 370);
    auto* heading =
        new QLabel(QStringLiteral("Normal, hovered, held down and latched pictures"), &dialog);
    heading->setGeometry(30, 52, 560, 20);
    int y = 84;
    for (const Row& row : kRows) {
        auto* label = new QLabel(QString::fromLatin1(row.title), &dialog);
        label->setGeometry(30, y + (row.height - 18) / 2, 110, 18);
        for (int i = 0; i < 4; ++i) {
            HoverButton* button = i == 3 ? new LatchingButton(&dialog) : new HoverButton(&dialog);
            button->setText(QString::fromLatin1(row.captions[i]));
            button->setPictures(row.pictures);
            button->setGeometry(150 + i * (row.width + 22), y, row.width, row.height);
            if (i == 1 && row.pictures.normal == skins::kKey.normal) g_hoverTarget = button;
            if (i == 2) button->setHeldDown(true);
            if (i == 3) static_cast<LatchingButton*>(button)->press();
        }
        y += row.height + 12;
    }
}

// The corner of a rounded skin is cut away: the screen there must show what lies behind.
bool cornerShowsDesktop(const QImage& screen, const QRect& dialog) {
    const QColor behind = screen.pixelColor(dialog.topLeft() - QPoint(4, 4));
    const QColor corner = screen.pixelColor(dialog.topLeft() + QPoint(1, 1));
    const QColor inside = screen.pixelColor(dialog.topLeft() + QPoint(20, 60));
    std::printf("behind %s, cut corner %s, inside %s\n", qPrintable(behind.name()),
                qPrintable(corner.name()), qPrintable(inside.name()));
    return corner == behind && inside != behind;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output png>\n", argv[0]);
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);

    SkinnedDialog demo(QString::fromLatin1(skins::kSkinDialog));
    buildDemo(demo);
    demo.move(30, 30);
    demo.show();

    CInputMsgDlg message;
    message.setTexts(
        QStringLiteral("The char [position:2] just before the string -- sin cannot be acceptted"),
        QStringLiteral("The char [position:2] should be one of the chars:),(,0-9,+,-,*,/,^,X,M,"
                       "F,K,W.Or the last char of the following words:Pi,Last1,Last2,Last3,"
                       "Last4,Last5."),
        QStringLiteral("2.sin(30)"), 2);
    message.show();
    message.move(30, 440);

    SkinnedDialog cartoon(QString::fromLatin1(skins::kSkinCartoon));
    cartoon.setFixedSize(550, 190);
    cartoon.move(690, 560);
    cartoon.show();

    BannerMenu menu(QStringLiteral("Quorvel"));
    menu.addAction(QStringLiteral("Standard style"));
    menu.addAction(QStringLiteral("Cartoon style"));
    menu.addAction(QStringLiteral("Mini style"));
    menu.addSeparator();
    menu.addAction(QStringLiteral("Help"));
    menu.addAction(QStringLiteral("Exit"));
    menu.popup(QPoint(700, 40));

    int status = 0;
    QTimer::singleShot(800, [&] {
        // The open popup holds the mouse, so the hover is shown by telling the button the
        // mouse came in.
        if (g_hoverTarget) {
            const QPointF centre = g_hoverTarget->rect().center();
            QEnterEvent enter(centre, centre, g_hoverTarget->mapToGlobal(centre));
            QCoreApplication::sendEvent(g_hoverTarget, &enter);
        }
        menu.setActiveAction(menu.actions().at(1));
        QTimer::singleShot(600, [&] {
            const QImage shot =
                quorvel::testing::grabScreen(QGuiApplication::primaryScreen()->geometry(), demo);
            if (quorvel::testing::onRealScreen() &&
                !cornerShowsDesktop(shot, demo.frameGeometry())) {
                std::fprintf(stderr, "the dialog's cut corner shows the skin\n");
                status = 1;
            }
            if (!quorvel::testing::saveShot(shot, output)) status = 1;
            app.quit();
        });
    });
    app.exec();
    return status;
}
