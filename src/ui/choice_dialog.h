#pragma once
// The choice dialog that scripts open: a question, up to three answers and "Пропустить".
// A double click or Enter on an answer takes it; Esc, "Пропустить" or closing the window
// skips. A single click or the arrow keys only move the selection.
#include <QDialog>

#include <array>
#include <string>

class QLabel;
class QRadioButton;

namespace morvath::ui {

class frmS : public QDialog {
    Q_OBJECT

public:
    explicit frmS(QWidget* parent = nullptr);

    // Shows the dialog modally and returns the answer taken (0, 1, 2) or 11 when skipped.
    // An empty third option is hidden. This is what the Qt front end's Choice() calls.
    static int Ask(const std::wstring& question, const std::array<std::wstring, 3>& options,
                   QWidget* parent = nullptr);

    void Fill(const std::wstring& question, const std::array<std::wstring, 3>& options);
    // The answer of the last showing; 11 until an answer was taken.
    int Answer() const { return answer_; }

    QLabel* lbltxt;
    std::array<QRadioButton*, 3> lblA;
    QLabel* Label1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Take(int answer);
    int answer_;
};

}  // namespace morvath::ui
