#pragma once

// Registers every property page type with PageRegistry::instance().
void registerStandardPages();
