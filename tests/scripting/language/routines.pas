// Procedures and functions: parameters, nesting, recursion, forward.
function Fact(n: Integer): Integer;
begin
  if n <= 1 then Result := 1 else Result := n * Fact(n - 1);
end;

function Twice(x: Integer): Integer;
begin
  Twice := x * 2;
end;

procedure Swap(var a, b: Integer);
var t: Integer;
begin
  t := a; a := b; b := t;
end;

procedure AddTo(const what: String; var target: String);
begin
  target := target + what;
end;

function IsEven(n: Integer): Boolean; forward;

function IsOdd(n: Integer): Boolean;
begin
  if n = 0 then Result := False else Result := IsEven(n - 1);
end;

function IsEven(n: Integer): Boolean;
begin
  if n = 0 then Result := True else Result := IsOdd(n - 1);
end;

function Counter(limit: Integer): Integer;
var count: Integer;
  procedure Step;
  begin
    Inc(count);
    if count < limit then Step;
  end;
begin
  count := 0;
  Step;
  Result := count;
end;

function FirstNegative(a, b, c: Integer): Integer;
begin
  Result := 0;
  if a < 0 then Exit(a);
  if b < 0 then Exit(b);
  if c < 0 then Exit(c);
end;

function Half(x: Integer): Integer; forward;

function Half(y: Integer): Integer;   // the body may rename the parameter
begin
  Result := y div 2;
end;

var x, y: Integer;
var s: String;
begin
  WriteLn(Half(9));                              // expect: 4
  WriteLn(Fact(10), ' ', Twice(21));             // expect: 3628800 42
  x := 1; y := 2;
  Swap(x, y);
  WriteLn(x, ' ', y);                            // expect: 2 1
  s := 'a';
  AddTo('b', s);
  AddTo('c', s);
  WriteLn(s);                                    // expect: abc
  WriteLn(IsEven(10), ' ', IsOdd(7), ' ', IsEven(3));  // expect: True True False
  WriteLn(Counter(50));                          // expect: 50
  WriteLn(FirstNegative(1, -2, -3), FirstNegative(1, 2, 3));  // expect: -20
end.
