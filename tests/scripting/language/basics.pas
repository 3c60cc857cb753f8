// Top-level declarations and statements, integer arithmetic, precedence.
var a, b: Integer;
const Ten = 10;
const Half: Float = 0.5;
a := 7;
b := -7;
WriteLn(a div 2, ' ', a mod 2);          // expect: 3 1
WriteLn(b div 2, ' ', b mod 2);          // expect: -3 -1
WriteLn(a div -2, ' ', a mod -2);        // expect: -3 1
WriteLn(b div -2, ' ', b mod -2);        // expect: 3 -1
WriteLn(2 + 3 * 4, ' ', (2 + 3) * 4);    // expect: 14 20
WriteLn(-2 * 3, ' ', 10 - 4 - 3);        // expect: -6 3
WriteLn(1 shl 10, ' ', 1024 shr 3);      // expect: 1024 128
WriteLn($FF, ' ', $10 + 1);              // expect: 255 17
WriteLn(5 and 3, ' ', 5 or 3, ' ', 5 xor 3, ' ', not 0);  // expect: 1 7 6 -1
WriteLn(7 / 2);                          // expect: 3,5
WriteLn(Ten * Half);                     // expect: 5
WriteLn(True and not False, ' ', False or (1 < 2));       // expect: True True
WriteLn(9223372036854775807 + 1);        // expect: -9223372036854775808
var c := 5;
var s: String = 'x';
WriteLn(c + 1, s);                       // expect: 6x
