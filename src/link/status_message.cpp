#include <string>

#include "link/status_log.h"
#include "text/format.h"

namespace lorvex {

std::string statusMessage(StatusCode code, int itemNumber, std::string_view itemCode,
                          CharsetMode mode) {
    const PolishLetterRow& row = polishLetters(mode);
    const int a = row[kSmallA];
    const int c = row[kSmallC];
    const int e = row[kSmallE];
    const int l = row[kSmallL];
    const int s = row[kSmallS];
    const std::string item(itemCode);
    const char* code13 = item.c_str();
    switch (code) {
        case -1:
            return format("60 Brak po%c%cczenia lub z%ca pozycja kluczyka\n", l, a, l);
        case 1:
            return format("01  B%c%cdny typ zadania\n", l, e);
        case 2:
            return format("02  B%c%cdny typ transmisji\n", l, e);
        case 3:
            return format("03  B%c%cdny numer startu\n", l, e);
        case 4:
            return format("04  Niedopuszczalne znaki numeryczne kod: %s\n", code13);
        case 5:
            return format("05  Niedopuszczalne znaki, z%ca nazwa - %d, kod: %s\n", l, itemNumber,
                          code13);
        case 7:
            return format("07  Przekroczona warto%c%c numeryczna - %d, kod: %s\n", s, c, itemNumber,
                          code13);
        case 8:
            return format(
                "08  Brak elementu do usuni%ccia lub niew%ca%cciwy kod EAN/PLU - %d, kod: %s\n", e,
                l, s, itemNumber, code13);
        case 9:
            return format("09  B%c%cdna stawka PTU - %d, kod: %s\n", l, e, itemNumber, code13);
        case 14:
            return "14  Niezaprogramowany numer unikatowy\n";
        case 15:
            return format("15  Przekroczona warto%c%c numeryczna - %d, kod: %s\n", s, c, itemNumber,
                          code13);
        case 17:
            return "17  Brak papieru\n";
        case 18:
            return format("18  Baza PLU pe%cna - %d, kod: %s\n", l, itemNumber, code13);
        case 19:
            return format("19  Wzajemnie wykluczaj%cce si%c flagi\n", a, e);
        case 20:
            return format("20  Tandem nie istnieje - %d, kod: %s\n", itemNumber, code13);
        case 21:
            return format("21  B%c%cd bazy PLU\n", l, a);
        case 22:
            return format("22  B%c%cd pami%cci FLASH\n", l, a, e);
        // The o with an acute accent is the byte 0xA2 in every encoding.
        case 23:
            return format(
                "23  B%c%cd tandem\xA2"
                "w\n",
                l, a);
        case 25:
            return "25  Niezaprogramowany zegar\n";
        case 26:
            return format("26  B%c%cd pami%cci RAM\n", l, a, e);
        case 28:
            return format("35  B%c%cdny znak flagi\n", l, e);
        case 29:
            return format("36  B%c%cdny index tablicy\n", l, e);
        case 31:
            return format("37  B%c%cdy wewn%ctrzne kasy\n", l, e, e);
        case 32:
            return format("40  Niezerowe totalizery- %d, kod: %s\n", itemNumber, code13);
        case 61:
            return format("61  B%c%cd otwarcia pliku\n", l, a);
        case 62:
            return format("62  Z%ce parametry wywo%cania\n", l, l);
        case 63:
            return format("63  Z%ce dane w pliku\n", l);
        default:
            return format("%02d  b%c%cdny status transmisji\n", code, l, e);
    }
}

}  // namespace lorvex
