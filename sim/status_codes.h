#pragma once

namespace lorvex::sim {

// The codes the register puts in its error answers (two upper-case hexadecimal digits) and in the
// status frame that ends a load (two decimal digits). The PC turns them into numbered messages.
namespace status {
inline constexpr int kOk = 0;
inline constexpr int kBadTask = 1;  // unknown wire letter, or an action digit other than 0/1
inline constexpr int kBadTransmission = 2;  // mode not allowed for the letter, record of the wrong
                                            // shape or kind, a load that carried no record
inline constexpr int kBadStart = 3;         // the request's numbers unreadable or not matching
inline constexpr int kBadDigits = 4;        // a numeric field holds something other than digits
inline constexpr int kBadName = 5;          // a name or text with control characters, or empty
inline constexpr int kValueTooLarge = 7;    // a number beyond what the register holds, or negative
inline constexpr int kNoSuchItem = 8;       // erasing a good that is not there, a code that is no
                                            // PLU number, EAN-8 or EAN-13 code
inline constexpr int kBadVat = 9;           // a VAT letter the register does not have
inline constexpr int kPluBaseFull = 18;     // no room for another good (or linked code)
inline constexpr int kNoTandem = 20;        // the tandem code names no good in the base
inline constexpr int kBadFlag = 28;         // a flag character that is not allowed
inline constexpr int kBadIndex = 29;        // department, cashier, slot, hour or card out of range
}  // namespace status

}  // namespace lorvex::sim
