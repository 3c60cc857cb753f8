// Statements: if, case, loops, break, continue, exit.
var i, n: Integer;
var s: String;
for i := 1 to 5 do
  if i mod 2 = 0 then s := s + 'e' else s := s + 'o';
WriteLn(s);                                // expect: oeoeo
s := '';
for i := 5 downto 1 do s := s + IntToStr(i);
WriteLn(s);                                // expect: 54321
for i := 1 to 0 do WriteLn('never');
n := 0;
while n < 10 do begin
  Inc(n);
  if n = 3 then Continue;
  if n = 6 then Break;
  Write(n);
end;
WriteLn;                                   // expect: 1245
repeat
  Dec(n);
until n <= 2;
WriteLn(n);                                // expect: 2
for i := 0 to 12 do
  case i of
    0: Write('z');
    1, 2: Write('s');
    3..5: Write('m');
    10..12: Write('b');
  else
    Write('-');
  end;
WriteLn;                                   // expect: zssmmm----bbb
s := 'beta';
case s of
  'alpha': WriteLn('A');
  'beta', 'gamma': WriteLn('B');         // expect: B
end;
case True of
  False: WriteLn('no');
  True: WriteLn('yes');                   // expect: yes
end;
procedure Early(x: Integer);
begin
  if x > 0 then Exit;
  WriteLn('non-positive');
end;
Early(1);
Early(0);                                   // expect: non-positive
WriteLn('before exit');                     // expect: before exit
Exit;
WriteLn('after exit');
