// An exception nobody catches stops the run with its message.
procedure Fail;
begin
  raise Exception.Create('Что-то пошло не так');   // expect runtime error: Что-то пошло не так
end;
WriteLn('first');          // expect: first
Fail;
