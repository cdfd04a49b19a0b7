// The words of orvalis-plot's command line as texts, each checked to be UTF-8.
#pragma once

#include <QStringList>

#include <string>
#include <vector>

// Each word as text; raises TUsageError naming the word and byte that is not UTF-8.
QStringList Words(const std::vector<std::string>& arguments);
