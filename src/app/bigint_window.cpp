// The big-integer calculator window.
#include "app/bigint_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrent>

#include "bigint/factorisation.h"
#include "engine/outside_factoring.h"

namespace app {

namespace {

constexpr const char* kDefaultX = "841089964817326335954941433791";
constexpr const char* kDefaultY = "12";

}  // namespace

BigIntegerWindow::BigIntegerWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle("Grote gehele getallen");
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    auto* fields = new QGridLayout;
    const auto field = [&](QLineEdit*& edit, const char* name, const char* text, int row) {
        edit = new QLineEdit(text, central);
        edit->setObjectName(name);
        fields->addWidget(new QLabel(name, central), row, 0);
        fields->addWidget(edit, row, 1);
    };
    field(x_, "x", kDefaultX, 0);
    field(y_, "y", kDefaultY, 1);
    field(z_, "z", "", 2);
    column->addLayout(fields);

    auto* buttons = new QGridLayout;
    using Op = bigint::CalculatorOperation;
    AddOperation("x+y", Op::Add, 0, 0);
    AddOperation("x-y", Op::Subtract, 0, 1);
    AddOperation("x*y", Op::Multiply, 0, 2);
    AddOperation("x div y", Op::Divide, 0, 3);
    AddOperation("x mod y", Op::Modulo, 0, 4);
    AddOperation("x!", Op::Factorial, 1, 0, "Factorials limited to 3000!");
    AddOperation("x nCr y", Op::Combinations, 1, 1);
    AddOperation("x nPr y", Op::Permutations, 1, 2);
    AddOperation("x^y", Op::Power, 1, 3);
    AddOperation("x^y (mod z)", Op::PowerModulo, 1, 4);
    AddOperation("wortel", Op::SquareRoot, 2, 0);
    AddOperation("kwadraat", Op::Square, 2, 1);
    AddOperation("y-de machtswortel uit x", Op::Root, 2, 2);
    AddOperation("misschien priem?", Op::PrimeTest, 2, 3);
    AddOperation("ggd(x,y)", Op::Gcd, 2, 4);
    AddOperation("inv(x) mod y", Op::Inverse, 3, 0);
    auto* factor = new QPushButton("factor", central);
    factor->setObjectName("factor");
    connect(factor, &QPushButton::clicked, this, &BigIntegerWindow::StartFactorisation);
    operations_.push_back(factor);
    stop_ = new QPushButton("Stoppen", central);
    stop_->setObjectName("stoppen");
    stop_->setEnabled(false);
    connect(stop_, &QPushButton::clicked, this, &BigIntegerWindow::Stop);
    for (QPushButton* button : operations_) {
        if (button == factor) continue;
        button->setParent(central);
    }
    int index = 0;
    for (QPushButton* button : operations_) {
        if (button == factor) continue;
        buttons->addWidget(button, index / 5, index % 5);
        ++index;
    }
    buttons->addWidget(factor, 3, 1);
    buttons->addWidget(stop_, 3, 2);
    column->addLayout(buttons);

    answer_ = new QPlainTextEdit(central);
    answer_->setObjectName("antwoord");
    answer_->setReadOnly(true);
    answer_->setMaximumHeight(90);
    column->addWidget(new QLabel("antwoord", central));
    column->addWidget(answer_);
    note_ = new QLabel(central);
    note_->setObjectName("melding");
    column->addWidget(note_);

    auto* copies = new QHBoxLayout;
    auto* copyAnswer = new QPushButton("antwoord kopieren naar", central);
    copyAnswer->setObjectName("antwoordKopieren");
    answerTarget_ = new QComboBox(central);
    answerTarget_->setObjectName("antwoordNaar");
    answerTarget_->addItems({"x", "y", "z", "mem"});
    auto* copyMemory = new QPushButton("geheugen kopieren  naar", central);
    copyMemory->setObjectName("geheugenKopieren");
    memoryTarget_ = new QComboBox(central);
    memoryTarget_->setObjectName("geheugenNaar");
    memoryTarget_->addItems({"x", "y", "z"});
    auto* clear = new QPushButton("Wis", central);
    clear->setObjectName("wis");
    connect(copyAnswer, &QPushButton::clicked, this, &BigIntegerWindow::CopyAnswer);
    connect(copyMemory, &QPushButton::clicked, this, &BigIntegerWindow::CopyMemory);
    connect(clear, &QPushButton::clicked, this, [this] { answer_->clear(); });
    copies->addWidget(copyAnswer);
    copies->addWidget(answerTarget_);
    copies->addWidget(copyMemory);
    copies->addWidget(memoryTarget_);
    copies->addWidget(clear);
    column->addLayout(copies);

    memo_ = new QPlainTextEdit(central);
    memo_->setObjectName("memo");
    memo_->setReadOnly(true);
    column->addWidget(memo_, 1);
    setCentralWidget(central);
    resize(640, 560);

    connect(&calculation_, &QFutureWatcher<bigint::CalculatorAnswer>::finished, this,
            &BigIntegerWindow::Finish);
    connect(&factorisation_, &QFutureWatcher<void>::finished, this, [this] { SetBusy(false); });
}

BigIntegerWindow::~BigIntegerWindow() {
    Stop();
    calculation_.waitForFinished();
    factorisation_.waitForFinished();
}

void BigIntegerWindow::AddOperation(const QString& caption, bigint::CalculatorOperation operation,
                                    int, int, const QString& hint) {
    auto* button = new QPushButton(caption);
    button->setObjectName(caption);
    if (!hint.isEmpty()) button->setToolTip(hint);
    connect(button, &QPushButton::clicked, this, [this, operation] { Start(operation); });
    operations_.push_back(button);
}

QString BigIntegerWindow::Answer() const {
    return answer_->toPlainText();
}

QString BigIntegerWindow::Memo() const {
    return memo_->toPlainText();
}

bool BigIntegerWindow::Busy() const {
    return calculation_.isRunning() || factorisation_.isRunning();
}

void BigIntegerWindow::SetBusy(bool busy) {
    for (QPushButton* button : operations_) button->setEnabled(!busy);
    stop_->setEnabled(busy && factorisation_.isRunning());
}

// The operands are read here, on the window's thread; the work runs on a worker.
void BigIntegerWindow::Start(bigint::CalculatorOperation operation) {
    if (Busy()) return;
    answer_->setPlainText(operation == bigint::CalculatorOperation::PrimeTest ? "testing.."
                                                                              : "ben bezig.....");
    note_->clear();
    SetBusy(true);
    calculation_.setFuture(QtConcurrent::run(bigint::Calculate, operation, x_->text().toStdString(),
                                             y_->text().toStdString(), z_->text().toStdString()));
}

void BigIntegerWindow::Finish() {
    const bigint::CalculatorAnswer result = calculation_.result();
    answer_->setPlainText(QString::fromStdString(result.answer));
    note_->setText(QString::fromStdString(result.message));
    SetBusy(false);
}

void BigIntegerWindow::StartFactorisation() {
    if (Busy()) return;
    memo_->clear();
    note_->clear();
    stopRequested_ = false;
    bigint::TInteger x;
    x.AssignText(x_->text().toStdString());
    // The worker never touches a widget: each line reaches the memo through the event loop.
    const auto report = [this](const std::string& line) {
        QMetaObject::invokeMethod(
            this, [this, text = QString::fromStdString(line)] { memo_->appendPlainText(text); },
            Qt::QueuedConnection);
    };
    const auto keepGoing = [this] { return !stopRequested_.load(); };
    factorisation_.setFuture(QtConcurrent::run([report, keepGoing, x, settings = settings_] {
        bigint::Factorisation work(
            report,
            [&keepGoing](const bigint::TInteger& n) { return engine::FactorWithGp(n, keepGoing); },
            keepGoing, settings);
        work.Run(x);
    }));
    SetBusy(true);
}

void BigIntegerWindow::Stop() {
    stopRequested_ = true;
}

void BigIntegerWindow::CopyAnswer() {
    const QString answer = answer_->toPlainText();
    switch (answerTarget_->currentIndex()) {
        case 0:
            x_->setText(answer);
            break;
        case 1:
            y_->setText(answer);
            break;
        case 2:
            z_->setText(answer);
            break;
        default:
            memory_ = answer;
    }
}

void BigIntegerWindow::CopyMemory() {
    QLineEdit* targets[] = {x_, y_, z_};
    targets[std::clamp(memoryTarget_->currentIndex(), 0, 2)]->setText(memory_);
}

void BigIntegerWindow::closeEvent(QCloseEvent* event) {
    // Closing hides the window; a factorisation in progress stops.
    Stop();
    hide();
    event->ignore();
}

}  // namespace app
