#include "store/Tables.h"

namespace Tables {

using T = ColumnType;

const TableSchema& batchInfo() {
    static const TableSchema s{
        "BatchInfo",
        "BatchInfo.ADT",
        {{"BatchType", T::Text, 25},
         {"BatchCode", T::Text, 15},
         {"Description", T::Text, 60},
         {"AV", T::Double},
         {"Solids", T::Double},
         {"Size", T::Double},
         // When the recipe was last stored: local time, ISO 8601.
         {"Date", T::Text, 19, true}},
        // Not unique: the naming commands keep recipe names apart.
        {{"PRIMARY", {"BatchType", "BatchCode"}, false}}};
    return s;
}

const TableSchema& recipes() {
    static const TableSchema s{"Recipes",
                               "Recipes.adt",
                               {{"BatchType", T::Text, 25},
                                {"BatchCode", T::Text, 15},
                                {"ItemNum", T::SmallInt},
                                {"RMCode", T::Text, 10},
                                {"Mass", T::Double},
                                {"Moles", T::Double},
                                {"Ea", T::Double},
                                {"Eb", T::Double},
                                {"Charge", T::Double},
                                {"Percent", T::Double},
                                {"Cost", T::Double}},
                               {{"PRIMARY", {"BatchType", "BatchCode", "ItemNum"}, false},
                                {"BYBATCHANDITEM", {"BatchCode", "ItemNum"}, false}}};
    return s;
}

const TableSchema& rmLib() {
    static const TableSchema s{"RMLib",
                               "RMLib.ADT",
                               {{"RMCode", T::Text, 10},
                                {"RMCommonName", T::Text, 35},
                                {"RMChemClass", T::Text, 35},
                                {"RMType", T::Text, 10},
                                {"RMMWt", T::Double},
                                {"RMFa", T::Double},
                                {"RMFan", T::Double},
                                {"RMFb", T::Double},
                                {"RMPrice", T::Currency}},
                               {{"PRIMARY", {"RMCode", "RMCommonName"}, true},
                                {"RMCODE", {"RMType", "RMChemClass", "RMCode"}, false},
                                {"RMLIBBYCODE", {"RMCode"}, false}}};
    return s;
}

} // namespace Tables
