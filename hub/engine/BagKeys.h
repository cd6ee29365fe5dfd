#pragma once
// The names of the Bag items that a client and the hub's chains exchange,
// spelled once for both sides. The scan chain numbers its per-port items:
// PhATs, PhNames and PhMakers followed by the port number.
#include <QLatin1StringView>

namespace corvane::bag {

// The connect and scan chains.
inline constexpr QLatin1StringView PortName{"PortName"};
inline constexpr QLatin1StringView PortBaud{"PortBaud"};
inline constexpr QLatin1StringView PortTimeouts{"PortTimeouts"};
inline constexpr QLatin1StringView AT{"AT"};
inline constexpr QLatin1StringView PhoneName{"PhoneName"};
inline constexpr QLatin1StringView IMEI{"IMEI"};
inline constexpr QLatin1StringView PDU{"PDU"};
inline constexpr QLatin1StringView NMI{"NMI"};
inline constexpr QLatin1StringView NSMI{"NSMI"};
inline constexpr QLatin1StringView UCS2{"UCS2"};
inline constexpr QLatin1StringView ShiftME{"ShiftME"};
inline constexpr QLatin1StringView MEEcode{"MEEcode"};
inline constexpr QLatin1StringView NextPort{"NextPort"};
inline constexpr QLatin1StringView MaxPort{"MaxPort"};
inline constexpr QLatin1StringView PhATs{"PhATs"};
inline constexpr QLatin1StringView PhNames{"PhNames"};
inline constexpr QLatin1StringView PhMakers{"PhMakers"};

// An arrival read by the ReadSMS chain.
inline constexpr QLatin1StringView ReadSMS{"ReadSMS"};
inline constexpr QLatin1StringView Address{"Address"};
inline constexpr QLatin1StringView Message{"Message"};
inline constexpr QLatin1StringView StatusReport{"StatusReport"};
inline constexpr QLatin1StringView MR{"MR"};
inline constexpr QLatin1StringView DischargeTime{"DischargeTime"};

// The send and write chains (a SUBMIT request).
inline constexpr QLatin1StringView SCNumber{"SCNumber"};
inline constexpr QLatin1StringView MessageClass{"MessageClass"};
inline constexpr QLatin1StringView ValidityPeriod{"ValidityPeriod"};
inline constexpr QLatin1StringView MessageBody{"MessageBody"};
inline constexpr QLatin1StringView MessageCoding{"MessageCoding"};
inline constexpr QLatin1StringView JoinParts{"JoinParts"};
inline constexpr QLatin1StringView Addresses{"Addresses"};
inline constexpr QLatin1StringView Result{"Result"};
inline constexpr QLatin1StringView ResultDesc{"ResultDesc"};

// The message-store chains.
inline constexpr QLatin1StringView Store{"Store"};
inline constexpr QLatin1StringView StoreCount{"StoreCount"};
inline constexpr QLatin1StringView LocationName{"LocationName"};
inline constexpr QLatin1StringView LocationIndex{"LocationIndex"};
inline constexpr QLatin1StringView MsgIndex{"MsgIndex"};

// The phone-book chains.
inline constexpr QLatin1StringView Book{"Book"};
inline constexpr QLatin1StringView BookIndex{"BookIndex"};
inline constexpr QLatin1StringView ContactName{"ContactName"};
inline constexpr QLatin1StringView ContactNumber{"ContactNumber"};
inline constexpr QLatin1StringView Update{"Update"};
inline constexpr QLatin1StringView Delete{"Delete"};
inline constexpr QLatin1StringView FromLocationName{"FromLocationName"};
inline constexpr QLatin1StringView FromBookIndex{"FromBookIndex"};

// Any chain's outcome.
inline constexpr QLatin1StringView Answer{"Answer"};
inline constexpr QLatin1StringView ErrorAnswer{"ErrorAnswer"};
inline constexpr QLatin1StringView ErrorDesc{"ErrorDesc"};

}  // namespace corvane::bag
