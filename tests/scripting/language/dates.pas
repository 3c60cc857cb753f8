// Dates: encoding, decoding, formatting.
var d: DateTime;
var y, m, day: Integer;
d := EncodeDate(2026, 3, 7) + EncodeTime(9, 5, 3, 0);
WriteLn(DateTimeToStr(d));                  // expect: 07.03.2026 9:05:03
WriteLn(FormatDateTime('yyyy-mm-dd hh:nn', d));  // expect: 2026-03-07 09:05
DecodeDate(d, y, m, day);
WriteLn(y, '/', m, '/', day, ' ', DayOfWeek(d));  // expect: 2026/3/7 7
WriteLn(DateToStr(EncodeDate(2000, 1, 1) + 31));  // expect: 01.02.2000
WriteLn(Trunc(EncodeDate(1899, 12, 30)));         // expect: 0
WriteLn(Now > EncodeDate(2020, 1, 1));            // expect: True
