// The big-integer calculator: three operands, one answer, a memory, and a memo for
// factorisations. Long work runs on a worker thread; the window stays usable and
// "Stoppen" ends a factorisation, the outside program included.
#pragma once

#include <QFutureWatcher>
#include <QMainWindow>
#include <atomic>
#include <functional>

#include "bigint/big_calculator.h"
#include "bigint/factorisation.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace app {

class BigIntegerWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit BigIntegerWindow(QWidget* parent = nullptr);
    ~BigIntegerWindow() override;

    QString Answer() const;
    QString Memo() const;
    bool Busy() const;
    // Ends the work in progress; a factorisation stops within a moment.
    void Stop();
    // The budgets of the factorisation (tests shorten them).
    void SetFactorisationSettings(const bigint::FactorisationSettings& settings) {
        settings_ = settings;
    }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void AddOperation(const QString& caption, bigint::CalculatorOperation operation, int row,
                      int column, const QString& hint = {});
    void Start(bigint::CalculatorOperation operation);
    void StartFactorisation();
    void Finish();
    void SetBusy(bool busy);
    void CopyAnswer();
    void CopyMemory();

    QLineEdit* x_ = nullptr;
    QLineEdit* y_ = nullptr;
    QLineEdit* z_ = nullptr;
    QPlainTextEdit* answer_ = nullptr;
    QPlainTextEdit* memo_ = nullptr;
    QLabel* note_ = nullptr;
    QComboBox* answerTarget_ = nullptr;
    QComboBox* memoryTarget_ = nullptr;
    QPushButton* stop_ = nullptr;
    std::vector<QPushButton*> operations_;
    QString memory_;
    bigint::FactorisationSettings settings_;
    QFutureWatcher<bigint::CalculatorAnswer> calculation_;
    QFutureWatcher<void> factorisation_;
    std::atomic<bool> stopRequested_{false};
};

}  // namespace app
