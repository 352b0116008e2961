#pragma once
// The news columns: which list screen and type id each column name stands for, and the parameter
// string of the recommended news of the subscribed columns.

#include <optional>
#include <string>
#include <vector>

namespace ql::NewsColumns {

enum class Screen { Headlines, GuoKao, XingCe, ShengLun, MianShi, ShiZheng, ShengShi };

struct Column {
    Screen screen;
    std::string typeId;  // "" for the headlines column
};

// The screen and type id of a column name; nothing for a name no column has.
std::optional<Column> columnFor(const std::string& name);

// The recommended-news parameter string of the subscribed column names, in their order: a
// "typeid[]=N&" fragment for each name that has one, then "typeid[]=2044&" always.
std::string recommendParams(const std::vector<std::string>& names);

}  // namespace ql::NewsColumns
