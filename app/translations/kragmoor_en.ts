<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru">
<context>
    <name>InfoList</name>
    <message>
        <source>Выбранный игрок: </source>
        <translation>Selected: </translation>
    </message>
    <message>
        <source>Мысль игрока: </source>
        <translation>Order: </translation>
    </message>
    <message>
        <source>Будущая мысль игрока: </source>
        <translation>Next order: </translation>
    </message>
    <message>
        <source>Тип игрока: </source>
        <translation>Kind: </translation>
    </message>
    <message>
        <source>Здоровье игрока: </source>
        <translation>Health: </translation>
    </message>
    <message>
        <source>Золото игрока: </source>
        <translation>Gold: </translation>
    </message>
    <message>
        <source>Расса игрока: </source>
        <translation>Side: </translation>
    </message>
    <message>
        <source>Ход выполнения:</source>
        <translation>Progress: </translation>
    </message>
    <message>
        <source>План выполнения:</source>
        <translation>Plan: </translation>
    </message>
    <message>
        <source>Злолто рассы N</source>
        <translation>Gold of side </translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Имя</source>
        <translation>Name</translation>
    </message>
</context>
<context>
    <name>kragmoor::TForm1</name>
    <message>
        <source>&quot;KRAGMOOR&quot; — авторы: команда KRAGMOOR</source>
        <translation>&quot;KRAGMOOR&quot; — by the KRAGMOOR team</translation>
    </message>
    <message>
        <source>Выбрать</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>Идти</source>
        <translation>Go</translation>
    </message>
    <message>
        <source>Атаковать</source>
        <translation>Attack</translation>
    </message>
    <message>
        <source>Строить</source>
        <translation>Build</translation>
    </message>
    <message>
        <source>Чинить</source>
        <translation>Repair</translation>
    </message>
    <message>
        <source>Действие по клику мышки.</source>
        <translation>Mouse click action</translation>
    </message>
    <message>
        <source>Главная база</source>
        <translation>Main base</translation>
    </message>
    <message>
        <source>Крестьянин</source>
        <translation>Peasant</translation>
    </message>
    <message>
        <source>Строительство</source>
        <translation>Building</translation>
    </message>
    <message>
        <source>Цвет стороны %1</source>
        <translation>Colour of side %1</translation>
    </message>
    <message>
        <source>Выбранная сущность, её поля и золото каждой стороны</source>
        <translation>The selected entity, its fields and each side&apos;s gold</translation>
    </message>
    <message>
        <source>Что делает щелчок левой кнопкой по полю с выбранной сущностью</source>
        <translation>What a left click on the field does with the selected entity</translation>
    </message>
    <message>
        <source>Что строит щелчок в режиме «Строить»</source>
        <translation>What a click in Build mode builds</translation>
    </message>
    <message>
        <source>Сторона %1 играет за компьютер; снимите галочку, чтобы играть за неё</source>
        <translation>Side %1 is played by the computer; untick to play it yourself</translation>
    </message>
    <message>
        <source>Игра</source>
        <translation>Game</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Кадр: %1</source>
        <translation>Frame: %1</translation>
    </message>
    <message>
        <source>Скорость: ×%1</source>
        <translation>Speed: ×%1</translation>
    </message>
    <message>
        <source>Пауза</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>Осталась одна сторона: %1</source>
        <translation>One side left: %1</translation>
    </message>
    <message>
        <source>Отдать сторону боту…</source>
        <translation>Give a side to a bot…</translation>
    </message>
    <message>
        <source>Бот не запускается: %1</source>
        <translation>The bot does not start: %1</translation>
    </message>
    <message>
        <source>Сторона и команда бота, например: 1=python3 bots/gatherer.py</source>
        <translation>Side and bot command, for example: 1=python3 bots/gatherer.py</translation>
    </message>
    <message>
        <source>Нужно СТОРОНА=КОМАНДА, сторона от 1 до 3</source>
        <translation>Give SIDE=COMMAND, the side 1 to 3</translation>
    </message>
    <message>
        <source>Сторона %1: бот %2</source>
        <translation>Side %1: bot %2</translation>
    </message>
    <message>
        <source>Сторона %1: бот остановлен (%2), сторона без игрока</source>
        <translation>Side %1: bot ended (%2), the side has no player</translation>
    </message>
    <message>
        <source>Новая игра</source>
        <translation>New game</translation>
    </message>
    <message>
        <source>Открыть…</source>
        <translation>Open…</translation>
    </message>
    <message>
        <source>Сохранить как…</source>
        <translation>Save as…</translation>
    </message>
    <message>
        <source>Записывать игру…</source>
        <translation>Record game…</translation>
    </message>
    <message>
        <source>Не удалось открыть игру «%1».</source>
        <translation>Cannot open the game “%1”.</translation>
    </message>
    <message>
        <source>Не удалось сохранить игру в «%1».</source>
        <translation>Cannot save the game to “%1”.</translation>
    </message>
    <message>
        <source>Не удалось начать запись в «%1».</source>
        <translation>Cannot start recording to “%1”.</translation>
    </message>
    <message>
        <source>Игра открыта из этого файла: запись заменила бы его.</source>
        <translation>The game was opened from this file: the recording would replace it.</translation>
    </message>
    <message>
        <source>Запись «%1» уже есть. Заменить её записью этой игры?</source>
        <translation>The recording “%1” exists. Replace it with a recording of this game?</translation>
    </message>
    <message>
        <source>Запись игры прервана.</source>
        <translation>The recording of the game has stopped.</translation>
    </message>
    <message>
        <source>Открыть игру</source>
        <translation>Open game</translation>
    </message>
    <message>
        <source>Сохранить игру</source>
        <translation>Save game</translation>
    </message>
    <message>
        <source>Сохранённые игры (*.save)</source>
        <translation>Saved games (*.save)</translation>
    </message>
    <message>
        <source>Записывать игру</source>
        <translation>Record game</translation>
    </message>
    <message>
        <source>Записи игры (*.sim)</source>
        <translation>Game recordings (*.sim)</translation>
    </message>
    <message>
        <source>Щёлкните по полю, где строить главную базу</source>
        <translation>Click on the field where the main base is to be built</translation>
    </message>
    <message>
        <source>Вид</source>
        <translation>View</translation>
    </message>
    <message>
        <source>Прокрутка у края: 100 пикселей</source>
        <translation>Edge scrolling: 100 pixels</translation>
    </message>
    <message>
        <source>Прокрутка у края: узкая</source>
        <translation>Edge scrolling: narrow</translation>
    </message>
    <message>
        <source>Прокрутка у края: выключена</source>
        <translation>Edge scrolling: off</translation>
    </message>
    <message>
        <source>Держать вид над полем</source>
        <translation>Keep the view over the field</translation>
    </message>
    <message>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Клавиши и как играть</source>
        <translation>Keys and how to play</translation>
    </message>
    <message>
        <source>Как играть: ваши стороны те, у которых снят флажок AI. Добывайте золото крестьянами, обучайте новых на главной базе, стройте базы и уничтожьте противников.

Мышь: левая кнопка — действие по клику; протяжка — выбрать рамкой (Shift — добавить); правая кнопка — приказ выбранным (атака, идти, добывать); средняя кнопка — двигать вид; карта — перенести вид.

Клавиши: Ctrl+A — выбрать всех своих; Ctrl+1…9 — запомнить группу; 1…9 — выбрать группу, ещё раз — показать её; P — обучить крестьянина; B, затем щелчок — построить базу; точка — следующий свободный крестьянин; пробел — пауза; + и − — скорость; Home — к своей главной базе; стрелки — сдвиг вида.

Приказы группе: в режимах «Идти», «Атаковать» и «Строить» щелчок даёт приказ каждому своему выбранному; к шахте группа расходится по ближайшим шахтам, где есть место.</source>
        <translation>How to play: your sides are those whose AI box is unticked. Mine gold with peasants, train new ones at a main base, build bases and destroy the opponents.

Mouse: left button: the click action; drag: select a box (Shift adds); right button: an order to the selection (attack, walk, mine); middle button: move the view; the map: move the view there.

Keys: Ctrl+A: select all your own; Ctrl+1…9: store a group; 1…9: select the group, again: show it; P: train a peasant; B, then a click: build a base; full stop (.): the next idle peasant; Space: pause; + and −: speed; Home: to your main base; arrows: move the view.

Group orders: in the Go, Attack and Build modes a click orders every one of your selected units; sent to a mine, a group spreads over the nearest mines with room.</translation>
    </message>
    <message>
        <source>Победила сторона %1.</source>
        <translation>Side %1 won.</translation>
    </message>
    <message>
        <source>Игра окончена.</source>
        <translation>The game is over.</translation>
    </message>
    <message>
        <source>Смотреть дальше</source>
        <translation>Keep watching</translation>
    </message>
    <message>
        <source>Бросить идущую игру и начать новую?</source>
        <translation>Throw away the game in progress and start a new one?</translation>
    </message>
    <message>
        <source>Карта всего поля: щелчок или протяжка переносит туда вид</source>
        <translation>Map of the whole field: a click or drag moves the view there</translation>
    </message>
    <message>
        <source>Сколько чего выбрано</source>
        <translation>How many of what are selected</translation>
    </message>
    <message>
        <source>Выбранный объект простыми словами</source>
        <translation>The selected entity in plain words</translation>
    </message>
    <message>
        <source>Обучить крестьянина (P)</source>
        <translation>Train a peasant (P)</translation>
    </message>
    <message>
        <source>Каждая выбранная главная база обучает крестьянина</source>
        <translation>Each selected main base trains a peasant</translation>
    </message>
    <message>
        <source>Лёгкий</source>
        <translation>Easy</translation>
    </message>
    <message>
        <source>Средний</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>Нормальный</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Уровень компьютерного игрока стороны %1</source>
        <translation>Level of the computer player of side %1</translation>
    </message>
    <message>
        <source>Что случилось в игре, новое внизу</source>
        <translation>What happened in the game, newest at the bottom</translation>
    </message>
    <message>
        <source>Выберите свою сторону и силу противников. Игра начнётся на паузе: пробел — пуск, F1 — правила.</source>
        <translation>Choose your side and how strong your opponents are. The game starts paused: Space starts it, F1 shows the rules.</translation>
    </message>
    <message>
        <source>Сторона %1</source>
        <translation>Side %1</translation>
    </message>
    <message>
        <source>Никакая: смотреть, как играет компьютер</source>
        <translation>None: watch the computer play</translation>
    </message>
    <message>
        <source>Ваша сторона:</source>
        <translation>Your side:</translation>
    </message>
    <message>
        <source>Компьютер стороны %1:</source>
        <translation>Computer of side %1:</translation>
    </message>
    <message>
        <source>Играть</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>KRAGMOOR: новая игра</source>
        <translation>KRAGMOOR: new game</translation>
    </message>
    <message>
        <source>Щёлкните своего крестьянина, затем правой кнопкой по золотой шахте: он будет носить золото на базу. F1 — правила.</source>
        <translation>Click your peasant, then right-click a gold mine: it will carry the gold to your base. F1: the rules.</translation>
    </message>
    <message>
        <source>Пауза. Вы — сторона %1. Пробел — пуск.</source>
        <translation>Paused. You are side %1. Space starts the game.</translation>
    </message>
    <message>
        <source>Вы — сторона %1.</source>
        <translation>You are side %1.</translation>
    </message>
    <message>
        <source>Вы победили!</source>
        <translation>You won!</translation>
    </message>
    <message>
        <source>Вы проиграли.</source>
        <translation>You lost.</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Правила (100 кадров в секунду):</source>
        <translation>The rules (100 frames a second):</translation>
    </message>
    <message>
        <source>• Враги ближе %1 единиц поля (клетка — %2) нападают друг на друга сами; сражаются и крестьяне, и главные базы.</source>
        <translation>• Enemies nearer than %1 field units (a cell is %2) attack each other by themselves; peasants and main bases both fight.</translation>
    </message>
    <message>
        <source>• Урон: %1 здоровья за кадр от каждого атакующего.</source>
        <translation>• Damage: %1 hit point a frame from each attacker.</translation>
    </message>
    <message>
        <source>• Здоровье: крестьянин %1, главная база %2, золотая шахта %3.</source>
        <translation>• Hit points: peasant %1, main base %2, gold mine %3.</translation>
    </message>
    <message>
        <source>• Цена: крестьянин %1 золота, главная база %2; платит казна стороны.</source>
        <translation>• Cost: peasant %1 gold, main base %2, paid from the side&apos;s purse.</translation>
    </message>
    <message>
        <source>• Золото: крестьянин у шахты берёт по %1 за кадр, за ходку до %2 (до %3, если номер крестьянина больше номера шахты), и сдаёт его на своей главной базе; шахта даёт, пока в ней не меньше %4.</source>
        <translation>• Gold: a peasant at a mine takes %1 a frame, up to %2 a trip (up to %3 when the peasant&apos;s number is above the mine&apos;s), and delivers it at its side&apos;s main base; a mine gives while it holds at least %4.</translation>
    </message>
    <message>
        <source>• Ремонт: золото, сданное на повреждённую базу, чинит её, %1 здоровья за единицу золота, и в казну не идёт.</source>
        <translation>• Repair: gold delivered to a damaged base repairs it, %1 hit points a gold, instead of going into the purse.</translation>
    </message>
    <message>
        <source>Создать сетевую игру…</source>
        <translation>Host a network game…</translation>
    </message>
    <message>
        <source>Присоединиться к сетевой игре…</source>
        <translation>Join a network game…</translation>
    </message>
    <message>
        <source>Закрыть окно? Сетевая игра закончится для всех.</source>
        <translation>Close the window? The network game ends for everyone.</translation>
    </message>
    <message>
        <source>Сетевая игра не создана</source>
        <translation>The network game could not be hosted</translation>
    </message>
    <message>
        <source>Не удалось присоединиться</source>
        <translation>Could not join</translation>
    </message>
    <message>
        <source>Вы смотрите</source>
        <translation>You are watching</translation>
    </message>
    <message>
        <source>Вы играете за сторону %1</source>
        <translation>You play side %1</translation>
    </message>
    <message>
        <source>Соединение с %1:%2…</source>
        <translation>Connecting to %1:%2…</translation>
    </message>
    <message>
        <source>Ждём начала игры</source>
        <translation>Waiting for the game to start</translation>
    </message>
    <message>
        <source>Задержка: %1 мс</source>
        <translation>Round trip: %1 ms</translation>
    </message>
    <message>
        <source>Связь потеряна, соединяемся снова…</source>
        <translation>Connection lost, joining again…</translation>
    </message>
    <message>
        <source>Связь потеряна: %1</source>
        <translation>Connection lost: %1</translation>
    </message>
    <message>
        <source>Отказано: %1</source>
        <translation>Refused: %1</translation>
    </message>
    <message>
        <source>Сетевая игра окончена</source>
        <translation>The network game is over</translation>
    </message>
    <message>
        <source>Присоединиться снова</source>
        <translation>Join again</translation>
    </message>
    <message>
        <source>Сетевая игра</source>
        <translation>Network game</translation>
    </message>
    <message>
        <source>Сторона %1: %2</source>
        <translation>Side %1: %2</translation>
    </message>
    <message>
        <source>Копировать</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Начать игру</source>
        <translation>Start the game</translation>
    </message>
    <message>
        <source>Создать сетевую игру</source>
        <translation>Host a network game</translation>
    </message>
    <message>
        <source>Порт</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Выбывшее место</source>
        <translation>A dropped seat</translation>
    </message>
    <message>
        <source>Присоединиться к сетевой игре</source>
        <translation>Join a network game</translation>
    </message>
    <message>
        <source>Адрес</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Код места</source>
        <translation>Seat code</translation>
    </message>
    <message>
        <source>Только смотреть</source>
        <translation>Watch only</translation>
    </message>
    <message>
        <source>Сохранённые игры и записи (*.save *.sim);;Все файлы (*)</source>
        <translation>Saved games and recordings (*.save *.sim);;All files (*)</translation>
    </message>
    <message>
        <source>Итоги игры…</source>
        <translation>Game summary…</translation>
    </message>
    <message>
        <source>Записывать каждую игру</source>
        <translation>Record every game</translation>
    </message>
    <message>
        <source>Не удалось открыть запись «%1».</source>
        <translation>Could not open the recording “%1”.</translation>
    </message>
    <message>
        <source>Итогов нет: игра не записывается.</source>
        <translation>No summary: the game is not being recorded.</translation>
    </message>
    <message>
        <source>Итоги считаются по записи игры (Игра → Записывать игру).</source>
        <translation>The summary is counted from the game&apos;s recording (Game → Record game).</translation>
    </message>
    <message>
        <source>Смотреть повтор</source>
        <translation>Watch the replay</translation>
    </message>
    <message>
        <source>Скорость хозяина игры: ×%1</source>
        <translation>Host&apos;s speed: ×%1</translation>
    </message>
    <message>
        <source>Пауза (у хозяина игры)</source>
        <translation>Paused (by the host)</translation>
    </message>
    <message>
        <source>Картинка остановлена</source>
        <translation>Picture held</translation>
    </message>
    <message>
        <source>Игра ждёт выбывшего игрока</source>
        <translation>The game waits for a dropped player</translation>
    </message>
    <message>
        <source>Зрителей: %1</source>
        <translation>Watchers: %1</translation>
    </message>
    <message>
        <source>Игра начнётся, когда хозяин скажет или все места займут.</source>
        <translation>The game starts when the host says so or every seat is taken.</translation>
    </message>
    <message>
        <source>Дайте друзьям адрес этой машины (%1), порт %2, и код места.</source>
        <translation>Give your friends this machine&apos;s address (%1), port %2, and a seat&apos;s code.</translation>
    </message>
    <message>
        <source>Сетевая игра окончена.</source>
        <translation>The network game is over.</translation>
    </message>
</context>
<context>
    <name>kragmoor::TReplayWindow</name>
    <message>
        <source>Повтор: %1</source>
        <translation>Replay: %1</translation>
    </message>
    <message>
        <source>Пуск</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>Кадр вперёд</source>
        <translation>Step one frame</translation>
    </message>
    <message>
        <source>как можно быстрее</source>
        <translation>as fast as it goes</translation>
    </message>
    <message>
        <source>Сторона %1</source>
        <translation>Side %1</translation>
    </message>
    <message>
        <source>Играть отсюда</source>
        <translation>Take over from here</translation>
    </message>
    <message>
        <source>Итоги</source>
        <translation>Summary</translation>
    </message>
    <message>
        <source>Пауза</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>золото %1, крестьян %2, баз %3</source>
        <translation>gold %1, peasants %2, bases %3</translation>
    </message>
    <message>
        <source>Кадр %1 из %2</source>
        <translation>Frame %1 of %2</translation>
    </message>
</context>
<context>
    <name>kragmoor::TSummaryWindow</name>
    <message>
        <source>Золото в казне</source>
        <translation>Gold in the purse</translation>
    </message>
    <message>
        <source>Добыто золота</source>
        <translation>Gold mined</translation>
    </message>
    <message>
        <source>Крестьяне</source>
        <translation>Peasants</translation>
    </message>
    <message>
        <source>Главные базы</source>
        <translation>Main bases</translation>
    </message>
    <message>
        <source>Потеряно</source>
        <translation>Lost</translation>
    </message>
    <message>
        <source>Уничтожено</source>
        <translation>Killed</translation>
    </message>
    <message>
        <source>Отдано приказов</source>
        <translation>Orders given</translation>
    </message>
    <message>
        <source>Итоги игры</source>
        <translation>Game summary</translation>
    </message>
    <message>
        <source>Сторона %1</source>
        <translation>Side %1</translation>
    </message>
</context>
</TS>
