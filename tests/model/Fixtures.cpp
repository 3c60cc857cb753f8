// Record fixtures.
#include "Fixtures.h"

#include <stdexcept>

#include "util/Cp1251.h"

namespace mirvex::fixtures {

void FillText(TRTFText& text, const char* utf8Line) {
    text.PlainText = {Cp1251(utf8Line), Cp1251("вторая строка")};
    const std::string rtf = "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Arial;}}\\f0 \\'cf\\par}";
    text.RtfData.assign(rtf.begin(), rtf.end());
}

void AddPicture(TAttaches& attaches, const char* name) {
    TAttach* a = attaches.Add();
    a->Kind = TAttachKind::Picture;
    a->FitMode = TFitMode::Natural;
    a->LayoutFlag = 1;
    a->Width = 320;
    a->Height = 200;
    a->FileName = Cp1251(name);
    a->FileData = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13};
}

std::unique_ptr<TTestQuestion> ConformityQuestion() {
    auto q = std::make_unique<TTestQuestion>();
    FillText(q->RichText, "Сопоставьте столицы и страны");
    AddPicture(q->Attachments, "карта.png");
    TAttach* sound = q->Attachments.Add();
    sound->Kind = TAttachKind::Sound;
    sound->PlayMode = TPlayMode::Manual;
    sound->RepeatPlay = 1;
    sound->FileName = "gong.wav";
    sound->FileData = {'R', 'I', 'F', 'F'};
    q->QuestionType = TQuestionType::Conformity;
    q->TimeLimit = 90;
    const struct {
        bool left;
        const char* ident;
        const char* links;
        const char* text;
    } items[] = {
        {true, "L1", "R1", "Франция"}, {true, "L2", "R2 R3", "Италия"}, {false, "R1", "", "Париж"},
        {false, "R2", "", "Рим"},      {false, "R3", "", "Милан"},
    };
    for (const auto& item : items) {
        TTestAnswer* a = q->Answers.Add();
        a->Conformity.IsLeft = item.left;
        a->Conformity.Ident = item.ident;
        a->Conformity.Links = item.links;
        a->RichText.PlainText = {Cp1251(item.text)};
    }
    TTextWithAttaches* extra = q->ExtraTexts.Add();
    FillText(extra->RichText, "Подсказка");
    q->QuestionScript = Cp1251("SysStrMessageRight := 'Верно';");
    q->AnswerScript = "if SysCurQuestionPoints > 0 then SetTestValue('x', 1);";
    return q;
}

std::unique_ptr<TTestQuestion> TypedQuestion() {
    auto q = std::make_unique<TTestQuestion>();
    FillText(q->RichText, "Столица России?");
    q->QuestionType = TQuestionType::TypedInput;
    TTestAnswer* a = q->Answers.Add();
    a->RichText.PlainText = {Cp1251("Москва\xA6москва")};
    a->Priority = 10;
    return q;
}

std::unique_ptr<TScriptValues> AuthorValues() {
    auto v = std::make_unique<TScriptValues>();
    const struct {
        TScriptValueKind kind;
        const char* name;
        TVariant value;
        bool readOnly;
    } entries[] = {
        {TScriptValueKind::Integer, "Attempts", TVariant(3), false},
        {TScriptValueKind::Float, "Bonus", TVariant(0.25), true},
        {TScriptValueKind::Boolean, "Strict", TVariant(true), false},
        {TScriptValueKind::String, "Greeting", TVariant(std::string()), false},
        {TScriptValueKind::DateTime, "Deadline", TVariant::DateTime(46000.5), false},
    };
    for (const auto& e : entries) {
        TScriptValueInfo* info = v->Add();
        info->ValueKind = e.kind;
        info->Name = e.name;
        info->Description = Cp1251("Значение ") + e.name;
        info->Value = e.value;
        info->ReadOnly = e.readOnly;
    }
    return v;
}

std::unique_ptr<TTestSettings> FullSettings() {
    auto s = std::make_unique<TTestSettings>();
    s->TimeLimitRule = 5;
    s->TimeLimitValue = 600;
    s->ShowAnswerRule = 2;
    s->AnswerAutoCloseSecs = 4;
    s->SelectQuestsRule = 3;
    s->SelectQuestsRuleCount = 20;
    s->RandomizeAnswers = true;
    s->UseSkipQuests = false;
    s->ShowQuestsPanel = true;
    s->SkipQuestsMaxCount = 2;
    s->ShowPremark = true;
    s->MaxMark = 10.5;
    s->CalcMarkRule = 1;
    s->MaxAssessesPoints = 7;
    s->Reserved = 0x5A;
    s->BackPictureMode = 9;
    s->BackColor = kWindowColour;
    s->UseAnimation = false;
    s->ShowInterruptBtn = false;
    s->ShowResultRule = 2;
    FillText(s->Description, "Итоговый тест по географии");
    FillText(s->ExtraTexts.Add()->RichText, "Правила");
    s->BeforeQuestionScript = "x := 1;";
    s->AfterAnswerScript = "x := 2;";
    s->StartScript = Cp1251("ShowMessage('Начало');");
    s->FinishScript = "x := 4;";
    if (!s->ScriptValues.CopyFrom(*AuthorValues())) throw std::runtime_error("script values do not copy");
    s->AddMark(Cp1251("0 40 255 Неудовлетворительно"));
    TUserTextWithAttach* good = s->AddMark(Cp1251("41 80 32768 Хорошо"));
    good->Present = true;
    FillText(good->Text.RichText, "Молодец");
    AddPicture(good->Text.Attachments, "medal.png");
    s->AddMark(Cp1251("81 100 16711680 Отлично"));
    s->UseInternalDialog = false;
    s->InternalDialogPrompt = Cp1251("Выберите билет:");
    return s;
}

std::unique_ptr<TUsers> SchoolUsers() {
    auto users = std::make_unique<TUsers>();
    users->Root().ChildLabel = Cp1251("Класс");
    TUserCategory* grade10 = users->Root().AddCategory();
    grade10->Name = Cp1251("10 класс");
    grade10->ChildLabel = Cp1251("Подгруппа");
    TUserCategory* groupA = grade10->AddCategory();
    groupA->Name = "A";
    TUser* ivanov = groupA->AddUser();
    ivanov->Name = Cp1251("Иванов");
    ivanov->Password = "secret";
    FillText(ivanov->Description, "Староста");
    TUser* petrov = grade10->AddUser();
    petrov->Name = Cp1251("Петров");
    TUserCategory* grade11 = users->Root().AddCategory();
    grade11->Name = Cp1251("11 класс");
    TUser* sidorova = grade11->AddUser();
    sidorova->Name = Cp1251("Сидорова");
    sidorova->Password = Cp1251("пароль");
    return users;
}

std::unique_ptr<TSelfSettings> InfoExample() {
    auto s = std::make_unique<TSelfSettings>();
    s->StatFileName = "Stat.dat";
    s->MaxLoginAttempts = 3;
    s->LoginPrompt = Cp1251("Введите ФИО");  // 11 bytes in code page 1251
    return s;
}

}  // namespace mirvex::fixtures
