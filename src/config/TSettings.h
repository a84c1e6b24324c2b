#pragma once

#include <QByteArray>
#include <QString>

#include <array>

// The live settings: one instance for the program's life, edited in place by the settings window and
// read by everyone else at the moment of use. Members are named after the file's sections and keys;
// the initialisers are the defaults used when a file, section or key is missing.
struct TSettings {
    struct PoSpusteniSection {
        int Port = 1; // 1 LPT1, 2 LPT2, 3 the hexadecimal Base1
        int Base = 0; // resting value of the data register (low 8 bits)
        QString Base1 = QStringLiteral("DC00");
        bool START = false; // start with the system; written as "Start"
        bool LPT = true;
        bool COM = false;
    } PoSpusteni;

    struct SemaforSection {
        bool Pouzij = true;
        int Port = 1;
        int Prodleva = 1; // seconds, 1..10
        int Zelena = 0;
        int Oranzova = 0;
        int Cervena = 0;
    } Semafor;

    struct TratSection {
        int delka = 1; // metres, 1..99999
    } Trat;

    struct OstatniSection {
        bool OnTop = false;
        bool ExtStart = false;
        bool PrvniKolo = false;
        int Priorita = 0;
        bool UlozitZavody = true; // keep every race's laps in "vysledky" at STOP
    } Ostatni;

    struct HWSection {
        bool Rizeni = true;
        bool Negace = true;
        int LOG0 = 150;                          // 10..5000 ms
        int LOG1 = 150;                          // 10..5000 ms
        std::array<int, 4> Chyba = {0, 0, 0, 0}; // Chyba1..Chyba4, 0..59000 ms
        int Prodleva = 2000;                     // 500..59000 ms
        bool Mazat = false;
        int MazatCas = 120; // 1..120 s (the stored default 10000 clamps to 120)
    } HW;

    struct TVOUTSection {
        bool Pouzit = false;
        bool Form = true;
        int TypZobrazeni = 1;
    } TVOUT;

    struct TiskSection {
        QString Logo;
        int Velikost = 50; // 10..100 %
        bool Centrovat = true;
        std::array<QString, 8> Text = {QString(), QString(), QString(),
                                       QString(), QString(), QStringLiteral("Děkujeme Vám za vaši návštěvu."),
                                       QString(), QString()};
    } Tisk;

    struct FtpSection {
        QString Hostitel;
        QString Jmeno;
        QString Heslo;     // the plain password; the file holds it scrambled
        bool Hesla = true; // "Neukládat heslo"
        std::array<bool, 5> Posilat = {false, false, false, false, false}; // keys "1".."5"
        std::array<QString, 4> Soubor;
        std::array<QString, 4> FtpAdr;
    } Ftp;

    struct ComSection {
        // Learned bursts, slot order 1A, 1B, 2A, 2B, 3A, 3B, 4A, 4B (keys Sekvence1, Sekvence11, ...).
        // Raw single-byte characters, stored in the file byte for byte.
        std::array<QByteArray, 8> Sekvence;
        bool RTS = false;
        bool DTR = false;
    } Com;

    struct ZvukSection {
        bool Hrat = false;
        bool Applaus = false;
        QString jmeno = QStringLiteral("success.wav"); // written as "Jmeno"
    } Zvuk;

    // Slot index of kart 1..4, sequence A (0) or B (1).
    static constexpr int sequenceSlot(int kart, int which) { return (kart - 1) * 2 + which; }
};
