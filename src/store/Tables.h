#pragma once

#include "components/TableSchema.h"

// The three table files of the database `Data`.
namespace Tables {

const TableSchema& batchInfo();
const TableSchema& recipes();
const TableSchema& rmLib();

} // namespace Tables
