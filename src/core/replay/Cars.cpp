#include "core/replay/Cars.h"

namespace movrane {

namespace {
const char* const NATIONALITY_CODES[NATIONALITY_COUNT] = {
    "ARG", "AUS", "AUT", "BEL", "BRA", "CAN", "CHI", "COL", "DEN", "FIN",
    "FRA", "GER", "GBR", "IRE", "ITA", "JAP", "MEX", "MON", "MOR", "HOL",
    "NZL", "POR", "RSA", "SPA", "SWE", "SUI", "USA", "URU", "VEN"};

const char* const CAR_MAKES[CAR_MAKE_COUNT] = {"Brabham", "BRM", "Cooper", "Eagle",
                                               "Ferrari", "Lotus", "Honda"};
}  // namespace

const char* nationalityCode(uint32_t index) {
    return index < NATIONALITY_COUNT ? NATIONALITY_CODES[index] : "---";
}

const char* carMakeName(uint32_t index) {
    return index < CAR_MAKE_COUNT ? CAR_MAKES[index] : "Unknown";
}

}  // namespace movrane
