// Orders: creation from the order form's parameter string, the order list and one order's details.

#include "ServiceContext.h"

#include <ctime>
#include <set>
#include <sstream>

namespace qlsvc {

namespace {

constexpr int kPageSize = 10;

std::string localTime(std::time_t t, const char* format) {
    std::tm tm{};
    localtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, format, &tm);
    return text;
}

long long integerPart(const std::string& text) {
    try {
        return static_cast<long long>(std::stod(text));
    } catch (...) {
        return 0;
    }
}

// The courses of one order, as the order screens list them.
nlohmann::json orderCourses(ServiceContext& ctx, const std::string& orderId) {
    return ctx.db.query("SELECT title AS ProductName, course_id AS ProductID FROM order_item WHERE order_id = ? ORDER BY seq",
                        {static_cast<std::int64_t>(std::stoll(orderId))});
}

std::string orderColumns(const ServiceContext& ctx) {
    return "SELECT id AS OrderID, order_num AS OrderNum, (" + std::to_string(ctx.startTime) +
           " - age) AS added, status AS orderstatus, money_total AS MoneyTotal, money_total AS MoneySum, "
           "discount AS DeliverCharge, goods_sum AS GoodsSum, consignee AS ConSignee, address AS Address, email AS Email, "
           "phone AS Phone, zipcode AS ZipCode, invoice_head AS InvoiceHead, payment_type AS PaymentType, account_id "
           "FROM orders ";
}

void finishOrderRow(ServiceContext& ctx, nlohmann::json& r) {
    r["AddTime"] = localTime(static_cast<std::time_t>(std::stoll(r["added"].get<std::string>())), "%Y-%m-%d %H:%M:%S");
    r.erase("added");
    r.erase("account_id");
    r["jj"] = orderCourses(ctx, r["OrderID"]);
}

nlohmann::json orderList(const Params& params, ServiceContext& ctx) {
    std::int64_t userId = params.integer("userid", -1);
    // Without a choice the list shows the unpaid orders, the switch's first segment.
    bool paid = params.integer("ordertypeclassid", 0) == 1;
    long long page = std::max(1LL, params.integer("page", 1));
    auto rows = ctx.db.query(orderColumns(ctx) + "WHERE account_id = ? AND paid = ? ORDER BY age, id LIMIT ? OFFSET ?",
                             {userId, static_cast<std::int64_t>(paid), static_cast<std::int64_t>(kPageSize + 1),
                              static_cast<std::int64_t>((page - 1) * kPageSize)});
    bool more = rows.size() > kPageSize;
    if (more) rows.erase(rows.end() - 1);
    for (auto& r : rows) {
        finishOrderRow(ctx, r);
        for (const char* key : {"ConSignee", "Address", "Email", "Phone", "ZipCode", "InvoiceHead", "PaymentType",
                                "DeliverCharge", "GoodsSum", "MoneySum"})
            r.erase(key);
    }
    return {{"returncode", 1}, {"next", more ? 1 : 0}, {"orderList", listOrNull(std::move(rows))}};
}

nlohmann::json orderInfo(const Params& params, ServiceContext& ctx) {
    std::int64_t userId = params.integer("userid", -1);
    auto row = ctx.db.queryOne(orderColumns(ctx) + "WHERE id = ?", {static_cast<std::int64_t>(params.integer("orderid", -1))});
    if (!row) return {{"returncode", 0}, {"orderinfo", "null"}};
    if ((*row)["account_id"] != std::to_string(userId)) return {{"returncode", 0}, {"orderinfo", "-2"}};
    finishOrderRow(ctx, *row);
    (*row)["PaymentType"] = std::stoi((*row)["PaymentType"].get<std::string>());
    return {{"returncode", 1}, {"orderinfo", nlohmann::json::array({*row})}};
}

nlohmann::json createOrder(const Params& params, ServiceContext& ctx) {
    nlohmann::json refused = {{"returncode", 0}, {"CreateOrderinfo", "null"}};
    std::int64_t userId = params.integer("currentuserid", -1);
    std::lock_guard lock(ctx.db.mutex());
    auto account = ctx.db.queryOne("SELECT username, email FROM account WHERE id = ?", {userId});
    if (!account) return refused;
    // The account name, when sent, must be the owner of the user id.
    if (params.has("currentusername") && params.last("currentusername") != (*account)["username"]) return refused;

    std::vector<nlohmann::json> courses;
    std::set<std::string> seen;
    std::stringstream ids(params.last("strClassId"));
    for (std::string id; std::getline(ids, id, ',');) {
        if (id.empty() || !seen.insert(id).second) continue;
        auto course = ctx.db.queryOne("SELECT id, title, actual_price FROM course WHERE CAST(id AS TEXT) = ?", {id});
        if (course) courses.push_back(*course);
    }
    if (courses.empty()) return refused;

    long long goods = 0;
    for (const auto& c : courses) goods += integerPart(c["actual_price"]);
    // The campaign in force now decides the discount, not the values the form sent.
    auto campaign = ctx.discountResult();
    long long discount = 0;
    if (campaign.value("IFDiscount", "") == "Yes" && integerPart(campaign.value("Total", "0")) < goods)
        discount = integerPart(campaign.value("Discount", "0"));
    long long payable = std::max(0LL, goods - discount);

    std::time_t now = std::time(nullptr);
    std::int64_t age = static_cast<std::int64_t>(ctx.startTime - now);
    std::string phone = params.last("Phone", params.last("tel"));
    std::string email = params.has("Email") ? params.last("Email") : (*account)["email"].get<std::string>();
    if (ctx.db.execute("INSERT INTO orders(order_num, account_id, age, status, paid, goods_sum, discount, money_total, "
                       "consignee, address, email, phone, zipcode, invoice_head, payment_type) "
                       "VALUES('', ?, ?, '未处理', 0, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0)",
                       {userId, age, static_cast<std::int64_t>(goods), static_cast<std::int64_t>(discount),
                        static_cast<std::int64_t>(payable), params.last("ConSignee"), params.last("Address"), email, phone,
                        params.last("ZipCode"), params.last("InvoiceHead")}) != 1)
        return refused;
    std::int64_t orderId = ctx.db.lastInsertId();
    char number[32];
    std::snprintf(number, sizeof number, "%s%06lld", localTime(now, "%Y%m%d").c_str(), static_cast<long long>(orderId));
    ctx.db.execute("UPDATE orders SET order_num = ? WHERE id = ?", {std::string(number), orderId});
    std::int64_t seq = 0;
    for (const auto& c : courses)
        ctx.db.execute("INSERT INTO order_item(order_id, seq, course_id, title) VALUES(?, ?, ?, ?)",
                       {orderId, ++seq, static_cast<std::int64_t>(std::stoll(c["id"].get<std::string>())), c["title"].get<std::string>()});
    std::string amount = std::to_string(payable);
    return {{"returncode", 1},
            {"CreateOrderinfo", nlohmann::json::array({{{"OrderNum", number},
                                                        {"MoneySum", amount},
                                                        {"TotalPoint", amount},
                                                        {"MoneyTotal", amount}}})}};
}

}  // namespace

bool markOrderPaid(ServiceContext& ctx, const std::string& orderNum) {
    std::lock_guard lock(ctx.db.mutex());
    auto order = ctx.db.queryOne("SELECT id, account_id FROM orders WHERE order_num = ?", {orderNum});
    if (!order) return false;
    ctx.db.execute("UPDATE orders SET paid = 1, status = '已到账' WHERE id = ?",
                   {static_cast<std::int64_t>(std::stoll((*order)["id"].get<std::string>()))});
    ctx.db.execute("INSERT OR IGNORE INTO purchase(account_id, course_id, learning, seq) "
                   "SELECT o.account_id, i.course_id, '0%', 100 + i.seq FROM order_item i JOIN orders o ON o.id = i.order_id "
                   "WHERE o.order_num = ?",
                   {orderNum});
    return true;
}

std::vector<ApiEndpoint> orderEndpoints() {
    return {
        {"order.php", false, orderList},
        {"order_info.php", false, orderInfo},
        {"order_buy3.php", false, createOrder},
    };
}

}  // namespace qlsvc
