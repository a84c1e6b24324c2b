#pragma once

class BestTwentyTables;
class QWidget;

// "Vynuluj tabulky Nej 20" as the operator meets it: asked first ("Ne" the default), both tables
// copied into "zaloha" before they are cleared, and the copies named afterwards. Throws UserError
// when a table cannot be read or copied; then nothing is cleared.
void askAndResetBestTwenty(QWidget* parent, BestTwentyTables& tables);
