// The system variable catalogue.
#include "SystemScriptValues.h"

#include "util/Cp1251.h"

namespace mirvex {
namespace {

enum : int { kBool = 0, kFloat = 2, kInt = 3, kStr = 4 };
constexpr bool RO = true;
constexpr bool RW = false;

struct Entry {
    const char* Name;
    int Kind;
    bool ReadOnly;
    // The value before the first session: 'B' false, 'T' true, 'I' the
    // integer in Int, 'S' the empty string.
    char Value;
    int Int;
    const char* Description;
};

const Entry kCatalogue[] = {
    {"SysQuestionsPassed", kInt, RO, 'I', 0, "Количество заданных вопросов (всегда 0)"},
    {"SysTotalAskQuestsCount", kInt, RO, 'I', 0, "Общее количество вопросов, которые будут заданы"},
    {"SysUserIdent", kInt, RO, 'I', 0, "Идентификатор текущего пользователя"},
    {"SysUserString", kStr, RO, 'S', 0, "Имя пользователя или введённый при входе текст"},
    {"SysTestName", kStr, RO, 'S', 0, "Название проходимого теста"},
    {"SysRemoteCompName", kStr, RO, 'S', 0, "Имя компьютера, на котором проходит тестирование"},
    {"SysRemoteUserName", kStr, RO, 'S', 0, "Имя пользователя операционной системы этого компьютера"},
    {"SysRemoteWindowsVersion", kStr, RO, 'S', 0, "Версия операционной системы этого компьютера"},
    {"SysTotalQuestsCount", kInt, RO, 'I', 0, "Количество включённых вопросов теста"},
    {"SysCategoriesCount", kInt, RO, 'I', 0, "Количество категорий теста, включая категорию по умолчанию"},
    {"SysTicketsCount", kInt, RO, 'I', 0, "Количество билетов теста, включая билет по умолчанию"},
    {"SysTicketNumber", kInt, RW, 'I', 0, "Выбранный билет (позиция в списке билетов)"},
    {"SysCategoryNumber", kInt, RW, 'I', 0, "Выбранная категория (позиция в списке категорий)"},
    {"SysTimeLimitRule", kInt, RW, 'I', 0, "Правило ограничения времени"},
    {"SysTimeLimitValue", kInt, RW, 'I', 0, "Ограничение времени в секундах"},
    {"SysShowAnswerRule", kInt, RW, 'I', 0, "Что показывается пользователю после каждого ответа"},
    {"SysAnswerAutoCloseSecs", kInt, RW, 'I', 0,
     "Через сколько секунд окно, показанное после ответа, закрывается само"},
    {"SysSelectQuestsRule", kInt, RW, 'I', 0, "Правило выбора вопросов"},
    {"SysSelectQuestsRuleCount", kInt, RW, 'I', 0, "Количество вопросов, задаваемых по правилу выбора"},
    {"SysRandomizeAnswers", kBool, RW, 'B', 0, "Перемешивать ли варианты ответов"},
    {"SysUseSkipQuests", kBool, RW, 'B', 0, "Можно ли пропускать вопросы"},
    {"SysSkipQuestsMaxCount", kInt, RW, 'I', 0, "Наибольшее разрешённое количество пропусков"},
    {"SysSkippedQuestsCount", kInt, RO, 'I', 0, "Количество пропущенных вопросов"},
    {"SysMaxAssessesPoints", kInt, RW, 'I', 0, "Наибольшее допустимое количество штрафных баллов"},
    {"SysCalcMarkRule", kInt, RW, 'I', 0, "Правило подсчёта баллов"},
    {"SysMaxMark", kInt, RW, 'I', 0, "Наивысшая оценка для правила перевода баллов в оценку"},
    {"SysShowPremark", kBool, RW, 'B', 0, "Показывать ли предварительную оценку во время тестирования"},
    {"SysCurrentMark", kFloat, RW, 'I', 0, "Текущая оценка пользователя; в конце — оценка, записываемая в статистику"},
    {"SysMaxAvailPoints", kInt, RO, 'I', 0, "Наибольшее количество баллов, которое пользователь мог набрать к этому моменту"},
    {"SysCurUserPoints", kInt, RO, 'I', 0, "Количество баллов, набранных пользователем к этому моменту"},
    {"SysUseAnimation", kBool, RW, 'B', 0, "Появляются ли вопросы с анимацией"},
    {"SysAnimationSteps", kInt, RW, 'I', 0, "Количество кадров анимации"},
    {"SysCurrentMarkString", kStr, RW, 'S', 0, "Оценка в виде текста"},
    {"SysCurrentMarkColor", kInt, RW, 'I', 0, "Цвет текста оценки (RGB)"},
    {"SysShowQuestsPanel", kBool, RW, 'I', 0, "Показывать ли панель со списком вопросов"},
    {"SysShowInterruptBtn", kBool, RW, 'I', 0, "Показывать ли кнопку прерывания тестирования"},
    {"SysNextQuestionIndex", kInt, RO, 'I', 0, "Индекс следующего задаваемого вопроса; -1, если его нет"},
    {"SysCurQuestionIndex", kInt, RO, 'I', 0, "Индекс задаваемого вопроса"},
    {"SysCurQuestCategory", kInt, RO, 'I', 0, "Категория текущего вопроса"},
    {"SysCurQuestTicket", kInt, RO, 'I', 0, "Билет текущего вопроса"},
    {"SysCurQuestType", kInt, RO, 'I', 0, "Тип текущего вопроса"},
    {"SysQuestText", kStr, RO, 'S', 0, "Текст текущего вопроса"},
    {"SysCurQuestTimeLimit", kInt, RW, 'I', 0, "Ограничение времени текущего вопроса"},
    {"SysCurQuestPrio", kInt, RW, 'I', 0, "Приоритет (вес) текущего вопроса"},
    {"SysAnswerReason", kInt, RO, 'I', 0, "Код завершения текущего вопроса: как был получен ответ"},
    {"SysCurQuestMaxPoints", kInt, RW, 'I', 0, "Наибольшее количество баллов за текущий вопрос без учёта его приоритета"},
    {"SysCurQuestUserPoints", kInt, RW, 'I', 0, "Количество баллов, набранных за текущий вопрос"},
    {"SysShowResultRule", kInt, RW, 'I', 0, "Как показывается результат в конце тестирования"},
    {"SysDialogsWidth", kInt, RW, 'I', 0, "Ширина диалогов, показываемых пользователю"},
    {"SysSaveResults", kBool, RW, 'B', 0, "Записывать ли сеанс в статистику"},
    {"SysSesstionRemarks", kStr, RW, 'S', 0, "Замечания, записываемые вместе с сеансом в статистику"},
    {"SysTestFinishReason", kInt, RO, 'I', 0, "Причина окончания тестирования"},
    {"SysUseInternalDialog", kBool, RW, 'T', 0, "Использовать ли встроенный диалог выбора билета или категории"},
    {"SysInternalDialogPrompt", kStr, RW, 'S', 0, "Текст приглашения этого диалога"},
    {"SysStrMessageRight", kStr, RW, 'S', 0, "Сообщение о правильном ответе"},
    {"SysStrMessageWrong", kStr, RW, 'S', 0, "Сообщение о неправильном ответе"},
    {"SysStrMessageHalfRight", kStr, RW, 'S', 0, "Сообщение о частично правильном ответе"},
    {"SysRemoteResolutionX", kInt, RO, 'I', 0, "Разрешение экрана компьютера тестирования по горизонтали"},
    {"SysRemoteResolutionY", kInt, RO, 'I', 0, "Разрешение экрана компьютера тестирования по вертикали"},
    {"SysRightAnswerDialogWidth", kInt, RW, 'I', 0,
     "Ширина окна с правильным ответом после неправильного или неточного ответа"},
    {"SysLastUserInputText", kStr, RO, 'S', 0, "Последний текст, введённый пользователем в вопросе с вводом ответа"},
    {"SysLastUserAnswerIndex", kInt, RO, 'I', -1, "Номер ответа, выбранного в вопросе с одним правильным ответом"},
    {"SysLastUserAnswerIndexes", kStr, RO, 'S', 0, "Номера ответов, выбранных в вопросе с несколькими ответами, через запятую"},
    {"SysLastUserAnswerOrders", kStr, RO, 'S', 0, "Номера ответов в порядке, установленном пользователем, через запятую"},
    {"SysLastUserAnswerConfs", kStr, RO, 'S', 0, "Соответствия, установленные пользователем в вопросе на соответствие"},
    {"SysWantedNextQuestionIndex", kInt, RW, 'I', -1, "Индекс вопроса, который сценарий хочет задать следующим"},
    {"SysWantedQuestionsCount", kInt, RW, 'I', -1, "Количество вопросов, которое сценарий хочет задать всего"},
};

static_assert(sizeof kCatalogue / sizeof kCatalogue[0] == kSystemValueCount);

}  // namespace

TSystemScriptValues::TSystemScriptValues() {
    for (const Entry& e : kCatalogue) {
        TScriptValueInfo* info = Add();
        info->Name = e.Name;
        info->ValueKind = static_cast<TScriptValueKind>(e.Kind);
        info->ReadOnly = e.ReadOnly;
        info->Description = Cp1251(e.Description);
        switch (e.Value) {
            case 'B': info->Value = TVariant(false); break;
            case 'T': info->Value = TVariant(true); break;
            case 'S': info->Value = TVariant(std::string()); break;
            default: info->Value = TVariant(e.Int); break;
        }
    }
}

}  // namespace mirvex
