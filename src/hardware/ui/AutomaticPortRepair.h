#pragma once

class PortRepair;
class QWidget;
class SystemRestart;

// The "Autom" repair button's whole action: repair, say so when the repair failed, then offer the
// restart (TRestartDlg, modal) in either case.
void runAutomaticPortRepair(PortRepair& repair, SystemRestart& restart, QWidget* parent);
