#pragma once

#include <QString>

// Where the tables of the database name `Data` are, for a program that may be started from a
// menu, a terminal anywhere, or its build folder.
struct DataLocation {
    QString folder;      // where the tables are to be opened
    QString seededNote;  // set when the starter tables were just put into the user's folder
    QString error;       // why no folder can be used; `folder` is then empty
};

// What the places are on this machine: each may be empty.
struct DataPlaces {
    QString option;        // --data FOLDER
    QString environment;   // KALVORA_DATA
    QString configured;    // Data= under [Aliases] in the configuration file
    QString workingDir;    // the working directory
    QString userData;      // the user's data folder for the program
    QString starterTables; // the folder holding the starter tables to copy
};

// In this order: the option, the environment variable, the configuration (each must exist: it
// is never created silently), a folder "Data" in the working directory when there is one, and
// else "Data" in the user's data folder, filled with the starter tables at its first use.
DataLocation locateData(const DataPlaces& places);

// The places of this process: the option given, its environment, its configuration file, and
// the starter tables installed beside the program (share/kalvora/Data) or built with it.
DataPlaces placesOfThisProcess(const QString& option);
