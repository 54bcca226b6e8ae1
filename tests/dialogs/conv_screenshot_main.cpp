// Shows the converter's unit page, quick-check page and history page and its companion
// dialog on the screen, saving each as PREFIX_<page>.png. On a real X server it also checks
// that the converter's cut-out corner shows the desktop, not the skin.

#include <QApplication>
#include <QTableWidget>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "data/sys_data_holder.h"
#include "dialogs/conv_dlg.h"
#include "dialogs/conv_float_edit.h"
#include "dialogs/new_conv_dlg.h"
#include "support/screenshot.h"
#include "support/temp_data_folder.h"
#include "ui/hover_button.h"
#include "ui/latching_button.h"
#include "ui/qt_prompter.h"

using namespace quorvel;

namespace {

struct Shot {
    const char* name;
    std::function<QWidget*()> prepare;  // the window to photograph
};

int g_status = 0;

void checkCorner(const QImage& shot) {
    // The window starts 12 pixels in; its top left pixel is cut from the rounded skin.
    const QColor behind = shot.pixelColor(2, 2);
    const QColor corner = shot.pixelColor(12, 12);
    const QColor inside = shot.pixelColor(60, 80);
    if (corner != behind || inside == behind) {
        std::fprintf(stderr, "the converter's cut corner shows the skin\n");
        g_status = 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output prefix>\n", argv[0]);
        return 2;
    }
    const QString prefix = QString::fromLocal8Bit(argv[1]);

    const testing::TempDataFolder folder("conv-shot");
    SysDataHolder holder{folder.path()};
    holder.data().conversions = {{"", "24", "2 foot(UK and US) -> inch", 1},
                                 {"", "12", "1 foot(UK and US) ->  inch", 1},
                                 {"length", "0.2286", "span -> metre", 1},
                                 {"", "9454254955488000000", "1000 light year -> metre", 1}};
    QtPrompter prompter;
    CConvDlg dialog(holder, prompter, nullptr, QStringLiteral("212"));
    dialog.show();
    std::unique_ptr<CNewConvDlg> companion;

    const auto clickRow = [](QTableWidget* list, const char* name) {
        for (int r = 0; r < list->rowCount(); ++r) {
            if (list->item(r, 0)->text() == QLatin1String(name)) {
                list->selectRow(r);
                list->scrollToItem(list->item(r, 0));
            }
        }
    };
    const auto mode = [&](std::string_view name) {
        dialog.modeButtons()[*ConverterModeIndex(name)]->click();
    };
    const Shot shots[] = {
        {"units",
         [&] {
             clickRow(dialog.inputList(), "inch");
             clickRow(dialog.outputList(), "centimetre");
             dialog.valueBox()->setFocus();
             dialog.valueBox()->selectAll();
             dialog.valueBox()->setText(QStringLiteral("5"));
             emit dialog.valueBox()->valueKey('5');
             return static_cast<QWidget*>(&dialog);
         }},
        {"quickcheck",
         [&] {
             mode(kModeQuickCheck);
             clickRow(dialog.itemList(), "Fahrenheit->Celsius");
             return static_cast<QWidget*>(&dialog);
         }},
        {"history",
         [&] {
             mode(kModeHistory);
             clickRow(dialog.itemList(), "span -> metre");
             return static_cast<QWidget*>(&dialog);
         }},
        {"companion",
         [&] {
             companion = std::make_unique<CNewConvDlg>(
                 ConversionFields{"length", "span -> metre", "0.2286"}, true, &dialog);
             companion->show();
             return static_cast<QWidget*>(companion.get());
         }},
    };

    std::size_t next = 0;
    std::function<void()> step = [&] {
        if (next == std::size(shots)) {
            app.quit();
            return;
        }
        const Shot& shot = shots[next++];
        QWidget* window = shot.prepare();
        QTimer::singleShot(500, [&, window, name = shot.name] {
            const QImage image = testing::grabAround(*window, 12);
            if (testing::onRealScreen() && window == &dialog) checkCorner(image);
            const QString path =
                prefix + QLatin1Char('_') + QLatin1String(name) + QStringLiteral(".png");
            if (!testing::saveShot(image, path)) g_status = 1;
            step();
        });
    };
    QTimer::singleShot(300, step);
    app.exec();
    return g_status;
}
