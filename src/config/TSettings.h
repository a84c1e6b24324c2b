#pragma once

#include <QByteArray>
#include <QString>

#include <array>

// The live settings: one instance for the program's life, edited in place by the settings window and
// read by everyone else at the moment of use. Members are named after the file's sections and keys.
// Each member's key, default, range and storage rule are one row of the settings table
// (SettingsTable.cpp); a new TSettings holds the defaults, as a file without keys would give them.
struct TSettings {
    TSettings();

    struct PoSpusteniSection {
        int Port{}; // 1 LPT1, 2 LPT2, 3 the hexadecimal Base1
        int Base{}; // resting value of the data register (low 8 bits)
        QString Base1;
        bool START{}; // start with the system; written as "Start"
        bool LPT{};
        bool COM{};
    } PoSpusteni;

    struct SemaforSection {
        bool Pouzij{};
        int Port{};
        int Prodleva{}; // seconds
        int Zelena{};
        int Oranzova{};
        int Cervena{};
    } Semafor;

    struct TratSection {
        int delka{}; // metres
    } Trat;

    struct OstatniSection {
        bool OnTop{};
        bool ExtStart{};
        bool PrvniKolo{};
        int Priorita{};
        bool UlozitZavody{}; // keep every race's laps in "vysledky" at STOP
    } Ostatni;

    struct HWSection {
        bool Rizeni{};
        bool Negace{};
        int LOG0{};                 // ms
        int LOG1{};                 // ms
        std::array<int, 4> Chyba{}; // Chyba1..Chyba4, ms
        int Prodleva{};             // ms
        bool Mazat{};
        int MazatCas{}; // s
    } HW;

    struct TVOUTSection {
        bool Pouzit{};
        bool Form{};
        int TypZobrazeni{};
        // Where the operator put the window on a station with one screen, "x,y"; empty: not yet.
        QString Poloha;
    } TVOUT;

    struct TiskSection {
        QString Logo;
        int Velikost{}; // %
        bool Centrovat{};
        std::array<QString, 8> Text;
    } Tisk;

    struct FtpSection {
        QString Hostitel;
        QString Jmeno;
        QString Heslo;                 // the plain password; the file holds it scrambled
        bool Hesla{};                  // "Neukládat heslo"
        std::array<bool, 5> Posilat{}; // keys "1".."5"
        std::array<QString, 4> Soubor;
        std::array<QString, 4> FtpAdr;
        bool Pasivni{}; // passive mode (EPSV or PASV) instead of the server connecting back
        bool TLS{};     // explicit FTPS: AUTH TLS, then the data encrypted as well
    } Ftp;

    struct ComSection {
        // Learned bursts, slot order 1A, 1B, 2A, 2B, 3A, 3B, 4A, 4B (keys Sekvence1, Sekvence11, ...).
        // Raw single-byte characters, stored in the file byte for byte.
        std::array<QByteArray, 8> Sekvence;
        bool RTS{};
        bool DTR{};
    } Com;

    // The live results page on the track's network.
    struct WebSection {
        bool Pouzit{};
        int Port{};
    } Web;

    struct ZvukSection {
        bool Hrat{};
        bool Applaus{};
        QString jmeno; // written as "Jmeno"
    } Zvuk;

    // How a race ends and what follows it.
    struct ZavodSection {
        bool Dojeti{};       // at the race time's end the flag falls and each kart's next pass is its last
        int Limit{};         // seconds after the race time's end at which a finishing race stops anyway
        bool Tisk{};         // print the results sheet when the race has stopped by itself
        bool VymazatJmena{}; // names left from the last race are cleared at START
    } Zavod;

    // The spoken call-outs of lap times.
    struct HlasSection {
        bool Pouzit{};   // lap times are called out
        int Co{};        // 0 every lap, 1 a kart's best lap of the race so far, 2 a new best-twenty record
        int Karty{};     // mask of the karts called out, kart 1 in bit 0
        bool Konec{};    // "Poslední minuta" a minute before the race time, "Konec závodu" at its end
        int Hlasitost{}; // 0..100 %
        int Rychlost{};  // words a minute
    } Hlas;
    // Results to an MQTT broker.
    struct MQTTSection {
        bool Pouzit{};
        QString Server;
        int Port{};
        QString Trat;     // the track's short id in the topics; empty: the computer's host name
        QString Predpona; // the topics' first level
        QString Uzivatel; // empty: no login
        QString Heslo;    // the plain password; the file holds it scrambled as the FTP password
        bool TLS{};       // the broker's certificate checked against the system's store
    } MQTT;

    // Slot index of kart 1..4, sequence A (0) or B (1).
    static constexpr int sequenceSlot(int kart, int which) { return (kart - 1) * 2 + which; }
};
