#pragma once

// The unit converter window: category buttons, two unit lists with a value and a live
// result, or one list of quick checks or history records. It only forwards to
// ConverterModel, which decides everything; the owner reads the value chosen after the
// dialog closes and inserts it into the main input with insertion().

#include <QString>
#include <memory>

#include "tools/converter_model.h"
#include "tools/unit_converter.h"
#include "ui/skinned_dialog.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace quorvel {

class CConvFloatEdit;
class HoverButton;
class LatchingButton;
class SysDataHolder;

class CConvDlg : public SkinnedDialog, private ConverterView {
    Q_OBJECT

public:
    static constexpr int kWidth = 750;
    static constexpr int kHeight = 370;

    // `mainInput` is the main window's input text, already emptied if it showed a result.
    // The records change in `holder` in place; storing the file is the owner's.
    CConvDlg(SysDataHolder& holder, Prompter& prompter, QWidget* parent, const QString& mainInput);
    ~CConvDlg() override;

    // True once the user chose a value (the return mode "select").
    bool hasSelection() const;
    QString returnValue() const;
    // The main input with the chosen value put in at `caret` (past the end: at the end), or
    // the message to show ("Quorvel Message", information) when nothing can be put in.
    InsertOutcome insertion(std::size_t caret) const;

    const ConverterModel& model() const { return *m_model; }

    // For tests and the screenshot program.
    QTableWidget* inputList() const { return m_inputList; }
    QTableWidget* outputList() const { return m_outputList; }
    QTableWidget* itemList() const { return m_itemList; }
    CConvFloatEdit* valueBox() const { return m_valueBox; }
    QLineEdit* resultBox() const { return m_resultBox; }
    // The category buttons in ConverterModes() order.
    const std::vector<LatchingButton*>& modeButtons() const { return m_modeButtons; }
    HoverButton* newButton() const { return m_new; }
    HoverButton* removeButton() const { return m_remove; }
    HoverButton* editButton() const { return m_edit; }
    HoverButton* selectButton() const { return m_select; }
    HoverButton* closeButton() const { return m_close; }
    HoverButton* helpButton() const { return m_help; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // ConverterView
    void showPage(ConverterPage page) override;
    void showUnitRows(const std::vector<ConverterRow>& rows) override;
    void showListRows(const std::vector<ConverterRow>& rows) override;
    void selectUnitRows(std::optional<std::size_t> input,
                        std::optional<std::size_t> output) override;
    void selectListRow(std::optional<std::size_t> row) override;
    void showValue(const std::string& text) override;
    void showResult(const std::string& text) override;
    std::optional<ConversionFields> askConversion(const ConversionFields& initial,
                                                  bool editing) override;
    void closeSelected() override;

    void buildControls();
    void connectControls();
    void latchMode();
    // Like a message the window posts to itself: several requests in one turn of the event
    // loop (a click that also changes the selection) convert once.
    void requestRecompute();
    void helpRequested();

    std::string m_mainInput;
    std::unique_ptr<ConverterModel> m_model;
    bool m_updating = false;
    bool m_recomputePending = false;

    std::vector<LatchingButton*> m_modeButtons;
    QButtonGroup* m_modeGroup = nullptr;
    QTableWidget* m_inputList = nullptr;
    QTableWidget* m_outputList = nullptr;
    QTableWidget* m_itemList = nullptr;
    CConvFloatEdit* m_valueBox = nullptr;
    QLineEdit* m_resultBox = nullptr;
    QLabel* m_valueLabel = nullptr;
    QLabel* m_resultLabel = nullptr;
    HoverButton* m_new = nullptr;
    HoverButton* m_remove = nullptr;
    HoverButton* m_edit = nullptr;
    HoverButton* m_select = nullptr;
    HoverButton* m_close = nullptr;
    HoverButton* m_help = nullptr;
};

}  // namespace quorvel
