// TEMPORARY placeholder until the conversion exports land.
#pragma once
namespace vellum { inline void initMathTables() {} }
