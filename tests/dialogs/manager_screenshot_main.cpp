// Shows the log manager and the formula manager with rows, and the new-formula and export
// dialogs filled in, each on its own, and saves each window as it shows on the screen.
// usage: manager_screenshot <output folder>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>
#include <cstdio>

#include "data/sys_data_holder.h"
#include "dialogs/export_to_for_dlg.h"
#include "dialogs/formula_dlg.h"
#include "dialogs/log_dlg.h"
#include "dialogs/new_formula_dlg.h"
#include "support/recording_prompter.h"
#include "support/screenshot.h"
#include "support/silent_speaker.h"
#include "support/temp_data_folder.h"
#include "ui/filter_edit.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const quorvel::testing::TempDataFolder data("manager-screenshot");
    quorvel::SysDataHolder holder(data.path());
    for (int i = 0; i < 40; ++i) {
        holder.data().log.push_back("2026-03-07 09:" + std::to_string(10 + i) + "   " +
                                    std::to_string(i) + "*12+7=" + std::to_string(i * 12 + 7));
    }
    quorvel::testing::SilentSpeaker speaker;
    quorvel::testing::RecordingPrompter prompter;
    prompter.answer = false;

    int status = 0;
    const auto show = [&](QWidget& window, const char* file, auto&& prepare) {
        window.show();
        window.move(60, 60);
        prepare();
        QTimer::singleShot(500, [&] {
            const QImage shot = quorvel::testing::grabAround(window, 6);
            if (!quorvel::testing::saveShot(shot, out.filePath(QString::fromLatin1(file))))
                status = 1;
            window.hide();
            app.quit();
        });
        app.exec();
    };

    quorvel::CLogDlg log(holder, speaker, prompter);
    show(log, "log_manager.png", [&] {
        log.list()->selectRow(1);
        log.repeatBox()->setText(QStringLiteral("2"));
    });

    quorvel::CFormulaDlg formulas(holder, speaker, prompter);
    show(formulas, "formula_manager.png", [&] {
        formulas.findChild<quorvel::HoverButton*>(QStringLiteral("catalog_time"))->click();
        formulas.list()->selectRow(2);
    });

    quorvel::CNewFormulaDlg fresh(holder, prompter, "time");
    show(fresh, "new_formula.png", [&] {
        for (char c : std::string("6*7"))
            fresh.expressionBox()->typeCharacter(QChar::fromLatin1(c));
        fresh.findChild<quorvel::HoverButton*>(QStringLiteral("calculate"))->click();
        fresh.descriptionBox()->setText(QStringLiteral("the answer"));
    });

    quorvel::CExportToForDlg exporter(holder, prompter, "5*12+7=67");
    show(exporter, "export_formula.png", [&] {
        exporter.descriptionBox()->setText(QStringLiteral("from the log"));
        exporter.catalogBox()->setCurrentIndex(2);
    });
    return status;
}
