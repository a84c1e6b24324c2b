#include "rankings/ui/BestTwentyReset.h"

#include "config/ui/AnoNeQuestion.h"
#include "rankings/BestTwentyTables.h"

#include <QDateTime>
#include <QDir>
#include <QMessageBox>

void askAndResetBestTwenty(QWidget* parent, BestTwentyTables& tables) {
    if (!AnoNeQuestion::ask(parent, QStringLiteral("Vynulovat tabulky"),
                            QStringLiteral("Opravdu vynulovat obě tabulky Nej 20, jezdců i jezdkyň?\n"
                                           "Jejich dosavadní obsah se předtím uloží do složky "
                                           "\u201ezaloha\u201c.")))
        return;
    QStringList copies = tables.resetKeepingCopies(QDateTime::currentDateTime());
    for (QString& copy : copies)
        copy = QDir::toNativeSeparators(copy);
    QMessageBox::information(parent, QStringLiteral("Vynulovat tabulky"),
                             QStringLiteral("Obě tabulky Nej 20 jsou vynulované. Jejich dosavadní obsah "
                                            "je uložen v souborech:\n") +
                                 copies.join(QLatin1Char('\n')));
}
