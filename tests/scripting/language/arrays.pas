// Static and dynamic arrays, records, and their copy semantics.
type
  TPoint = record
    X, Y: Integer;
    Name: String;
  end;
  TGrid = array [1..3, 1..2] of Integer;
var
  a: array [1..5] of Integer;
  b: array [1..5] of Integer;
  d, e: array of String;
  p, q: TPoint;
  pts: array [0..2] of TPoint;
  g: TGrid;
  i, j, sum: Integer;

procedure Bump(var v: Integer);
begin
  v := v + 100;
end;

function Total(const xs: array of Integer): Integer;
var k: Integer;
begin
  Result := 0;
  for k := Low(xs) to High(xs) do Result := Result + xs[k];
end;

begin
  for i := 1 to 5 do a[i] := i * i;
  b := a;
  b[1] := -1;                       // static arrays are values
  WriteLn(a[1], ' ', b[1], ' ', Low(a), ' ', High(a), ' ', Length(a));  // expect: 1 -1 1 5 5
  WriteLn(Total(a));                // expect: 55
  SetLength(d, 3);
  d[0] := 'x'; d[2] := 'z';
  e := d;
  e[1] := 'shared';                 // dynamic arrays are references
  WriteLn(d[1], ' ', Length(d), ' ', High(d), ' [', d[1] + d[2], ']');  // expect: shared 3 2 [sharedz]
  SetLength(e, 4);                  // SetLength makes a shared array unique
  e[0] := 'only e';
  WriteLn(d[0], ' ', Length(d), ' ', Length(e));  // expect: x 3 4
  p.X := 1; p.Y := 2; p.Name := 'p';
  q := p;
  q.X := 10;                        // records are values
  WriteLn(p.X, ' ', q.X, ' ', q.Name);  // expect: 1 10 p
  pts[1] := p;
  pts[1].Y := 20;
  WriteLn(p.Y, ' ', pts[1].Y, ' ', pts[0].Y);  // expect: 2 20 0
  for i := 1 to 3 do
    for j := 1 to 2 do g[i, j] := i * 10 + j;
  sum := 0;
  for i := 1 to 3 do
    for j := 1 to 2 do sum := sum + g[i][j];
  WriteLn(g[3, 2], ' ', sum);      // expect: 32 129
  Bump(a[2]);
  Bump(pts[2].X);
  WriteLn(a[2], ' ', pts[2].X);   // expect: 104 100
end.
