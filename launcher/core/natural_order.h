// Names in the order a reader expects: runs of digits compare by their value, so "Asteroid_2"
// comes before "Asteroid_10"; letters compare without regard to case.
#pragma once

#include <string>
#include <vector>

bool naturalLess(const std::string& a, const std::string& b);
void sortNaturally(std::vector<std::string>& names);
