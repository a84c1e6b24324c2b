#pragma once

#include "rankings/ui/UpravDlg.h"

// The edit window of a row of the women's table.
class TUpravDlg1 : public TUpravDlg {
    Q_OBJECT

public:
    explicit TUpravDlg1(QWidget* parent = nullptr);
};
