// gp as a child process: a small script on its standard input, one factor a line out.
#include "engine/outside_factoring.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>

namespace engine {

namespace {

constexpr int kPollMilliseconds = 50;

}  // namespace

bigint::OutsideFactors FactorWithGp(const bigint::TInteger& n,
                                    const std::function<bool()>& keepGoing) {
    const QString program = QStandardPaths::findExecutable("gp");
    if (program.isEmpty()) return {{}, "extern programma gp niet gevonden"};
    bigint::TInteger size = n;
    if (size.Sign() < 0) size.Negate();
    // Only digits reach gp: the number is data, never program text of ours.
    const std::string script =
        "v=factor(" + size.ToText() + ");for(i=1,#v~,for(j=1,v[i,2],print(v[i,1])));\nquit\n";
    QProcess gp;
    gp.setProgram(program);
    gp.setArguments({"-q", "-f", "--default", "parisizemax=1000000000"});
    gp.start();
    if (!gp.waitForStarted(5000)) return {{}, "extern programma gp kan niet starten"};
    gp.write(script.c_str());
    gp.closeWriteChannel();
    QElapsedTimer clock;
    clock.start();
    while (!gp.waitForFinished(kPollMilliseconds)) {
        if (gp.state() == QProcess::NotRunning) break;
        if (keepGoing && !keepGoing()) {
            gp.kill();
            gp.waitForFinished(1000);
            return {{}, "gestopt"};
        }
        if (clock.elapsed() > kOutsideSeconds * 1000LL) {
            gp.kill();
            gp.waitForFinished(1000);
            return {{}, "extern programma gaf binnen 2 minuten geen antwoord"};
        }
    }
    const std::string output = gp.readAllStandardOutput().toStdString();
    const auto factors = bigint::ReadOutsideFactors(output, n);
    if (!factors) return {{}, "extern programma gaf geen bruikbaar antwoord"};
    return {*factors, ""};
}

}  // namespace engine
