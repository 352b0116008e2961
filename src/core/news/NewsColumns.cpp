#include "news/NewsColumns.h"

#include <string_view>
#include <utility>

namespace ql::NewsColumns {

namespace {

struct Entry {
    std::string_view name;
    Screen screen;
    std::string_view typeId;
};

constexpr Entry kColumns[] = {
    {"头条", Screen::Headlines, ""},   {"国考", Screen::GuoKao, "189"},     {"行测", Screen::XingCe, "1826"},
    {"申论", Screen::ShengLun, "1827"}, {"面试", Screen::MianShi, "1828"},   {"时政", Screen::ShiZheng, "2001"},
    {"北京", Screen::ShengShi, "1831"}, {"天津", Screen::ShengShi, "1839"},  {"上海", Screen::ShengShi, "1883"},
    {"重庆", Screen::ShengShi, "1899"}, {"河北", Screen::ShengShi, "1858"},  {"辽宁", Screen::ShengShi, "1845"},
    {"吉林", Screen::ShengShi, "1857"}, {"黑龙江", Screen::ShengShi, "1864"}, {"江苏", Screen::ShengShi, "1855"},
    {"浙江", Screen::ShengShi, "1851"}, {"安徽", Screen::ShengShi, "1854"},  {"福建", Screen::ShengShi, "1877"},
    {"江西", Screen::ShengShi, "1893"}, {"山东", Screen::ShengShi, "1840"},  {"山西", Screen::ShengShi, "1842"},
    {"河南", Screen::ShengShi, "1852"}, {"湖北", Screen::ShengShi, "1890"},  {"湖南", Screen::ShengShi, "1867"},
    {"西藏", Screen::ShengShi, "1884"}, {"宁夏", Screen::ShengShi, "1897"},  {"新疆", Screen::ShengShi, "1868"},
    {"内蒙古", Screen::ShengShi, "1892"}, {"广西", Screen::ShengShi, "1843"}, {"青海", Screen::ShengShi, "1873"},
    {"甘肃", Screen::ShengShi, "1882"}, {"陕西", Screen::ShengShi, "1874"},  {"云南", Screen::ShengShi, "1865"},
    {"贵州", Screen::ShengShi, "1870"}, {"四川", Screen::ShengShi, "1887"},
};

// Only these columns feed the recommended news.
constexpr std::pair<std::string_view, std::string_view> kRecommended[] = {
    {"国考", "189"},  {"时政", "2001"}, {"行测", "1826"}, {"申论", "1827"}, {"面试", "1828"},
    {"北京", "1831"}, {"天津", "1839"}, {"上海", "1883"}, {"重庆", "1899"},
};

}  // namespace

std::optional<Column> columnFor(const std::string& name) {
    for (const auto& c : kColumns) {
        if (c.name == name) return Column{c.screen, std::string(c.typeId)};
    }
    return std::nullopt;
}

std::string recommendParams(const std::vector<std::string>& names) {
    std::string params;
    for (const auto& name : names) {
        for (const auto& [column, typeId] : kRecommended) {
            if (column == name) params += "typeid[]=" + std::string(typeId) + "&";
        }
    }
    return params + "typeid[]=2044&";
}

}  // namespace ql::NewsColumns
