#pragma once

#include <QByteArray>

// What an import recognized, as JSON for scripts and checks:
// {"questions": [{"line", "type", "stem", "options", "key", "explanation", "problems"}, …],
//  "problems": [{"line", "reason"}, …]}, in file order.
namespace importing {

class ImportPlan;

QByteArray planJson(const ImportPlan &plan);

} // namespace importing
