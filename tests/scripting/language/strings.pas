// Strings with the semantics of the Delphi runtime.
var s: String;
WriteLn(Copy('hello', 2, 3), '|', Copy('hello', 4, 100), '|', Copy('hello', 6, 1), '|', Copy('hello', 0, 2), '|');  // expect: ell|lo||he|
WriteLn(Pos('', 'abc'), ' ', Pos('c', 'abc'), ' ', Pos('x', 'abc'), ' ', Pos('bc', 'abcbc'));  // expect: 0 3 0 2
s := 'abcdef';
Delete(s, 2, 3);
WriteLn(s);                               // expect: aef
Insert('XY', s, 2);
WriteLn(s);                               // expect: aXYef
Insert('!', s, 100);
WriteLn(s, ' ', Length(s));               // expect: aXYef! 6
WriteLn(s[2], s[Length(s)]);              // expect: X!
s[1] := 'Z';
WriteLn(s);                               // expect: ZXYef!
WriteLn(UpperCase('abc ёж'), ' ', AnsiUpperCase('abc ёж'));  // expect: ABC ёж ABC ЁЖ
WriteLn(AnsiLowerCase('ПРИВЕТ World'));  // expect: привет world
WriteLn('[', Trim('  a b  '), '][', TrimLeft('  a '), '][', TrimRight(' a  '), ']');  // expect: [a b][a ][ a]
WriteLn(StringReplace('a-b-c', '-', '+', [rfReplaceAll]));  // expect: a+b+c
WriteLn(StringReplace('a-b-c', '-', '+', []));             // expect: a+b-c
WriteLn(StringReplace('Abc abc', 'ABC', 'x', [rfReplaceAll, rfIgnoreCase]));  // expect: x x
WriteLn(QuotedStr('it''s'), ' ', StringOfChar('*', 3));   // expect: 'it''s' ***
WriteLn(IntToHex(255, 4), ' ', IntToHex(-1, 1));          // expect: 00FF FFFFFFFF
WriteLn(Format('[%5d][%-5d][%.3d][%s][%8.3f][%x][%%]', [42, 42, 7, 'str', 3.14159, 255]));  // expect: [   42][42   ][007][str][   3,142][FF][%]
WriteLn(Format('%g %.2f', [0.1, 2.5]));  // expect: 0,1 2,50
WriteLn('a' < 'b', ' ', 'abc' < 'abd', ' ', 'ab' < 'abc', ' ', 'B' < 'a', ' ', 'abc' = 'abc');  // expect: True True True True True
WriteLn('it''s', ' ', #65#66, ' ', Length(#13#10));  // expect: it's AB 2
WriteLn(Chr(65), Ord('a'), ' ', Ord(True));           // expect: A97 1
SetLength(s, 2);
WriteLn(s);                               // expect: ZX
WriteLn(IntToStr(-15) + '/' + BoolToStr(True) + '/' + BoolToStr(False, True));  // expect: -15/-1/False
