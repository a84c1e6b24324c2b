#include "cli/CliCommand.h"

const QList<CliCommand>& cliCommands() {
    static const QList<CliCommand> commands = {
        {"results-pdf", "výsledková listina až čtyř motokár ze souborů s časy kol do PDF",
         runResultsPdfCommand},
        {"top20-pdf", "listina nejlepších dvaceti z tabulek složky s daty do PDF", runTop20PdfCommand},
        {"backup create", "vytvoří zálohu souborů a složek", runBackupCreateCommand},
        {"backup list", "vypíše název, počet a velikost souborů zálohy", runBackupListCommand},
        {"backup restore", "obnoví soubory ze zálohy", runBackupRestoreCommand},
        {"backup verify", "přečte celou zálohu a ověří ji, nic nezapíše", runBackupVerifyCommand},
        {"hub", "stránka s průběhem závodů všech tratí ze serveru MQTT", runHubCommand},
    };
    return commands;
}
