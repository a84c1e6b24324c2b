#include "rankings/ui/UpravDlg1.h"

TUpravDlg1::TUpravDlg1(QWidget* parent)
    : TUpravDlg(QStringLiteral("Upravit položku - jezdkyně"), QStringLiteral("UpravDlg1"), parent) {}
