#pragma once

#include <QString>
#include <initializer_list>
#include <optional>

// Identities of listed records (alerts, events, links, suggestions) are their fields joined without a
// separator, each absent field counting as empty: one rule, so no two lists disagree about sameness.
namespace RecordIdentity {

QString join(std::initializer_list<std::optional<QString>> parts);

}  // namespace RecordIdentity
