// Exceptions: handlers, classes, finally, re-raise, run-time errors.
var i, zero: Integer;
var log: String;

procedure Check(n: Integer);
begin
  if n < 0 then raise Exception.Create('negative: ' + IntToStr(n));
end;

begin
  try
    Check(1);
    Check(-5);
    WriteLn('not reached');
  except
    on E: Exception do WriteLn('caught ', E.Message, ' ', E.ClassName);  // expect: caught negative: -5 Exception
  end;
  zero := 0;
  try
    i := 10 div zero;
  except
    on E: EConvertError do WriteLn('wrong handler');
    on E: EDivByZero do WriteLn('div: ', E.Message);  // expect: div: Division by zero
  end;
  try
    i := StrToInt('12x');
  except
    on E: EConvertError do WriteLn(E.Message);  // expect: '12x' is not a valid integer value
  end;
  try
    try
      log := 'body;';
      raise EConvertError.Create('inner');
    finally
      log := log + 'finally;';
    end;
  except
    on E: Exception do log := log + 'outer ' + E.Message;
  end;
  WriteLn(log);                          // expect: body;finally;outer inner
  try
    try
      i := 1 div zero;
    except
      WriteLn('first');                  // expect: first
      raise;
    end;
  except
    on E: EDivByZero do WriteLn('again');  // expect: again
  end;
  for i := 1 to 3 do
    try
      if i = 2 then Continue;
      Write(i);
    finally
      Write('f');
    end;
  WriteLn;                               // expect: 1ff3f
  try
    log := 'abc';
    WriteLn(log[10]);
  except
    on E: ERangeError do WriteLn(E.Message);  // expect: Range check error
  end;
end.
