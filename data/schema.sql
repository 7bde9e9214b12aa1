-- Question bank and paper tables. SQLite compares table and column names
-- without regard to case, which the statements of the program rely on.

CREATE TABLE T_KS_THEME (
    ThemeID      INTEGER PRIMARY KEY,
    ThemePart    INTEGER NOT NULL DEFAULT 1,
    ThemeChapter INTEGER NOT NULL,
    ThemeType    INTEGER NOT NULL,
    ThemeContent TEXT    NOT NULL,
    ThemeImage   BLOB,
    ThemeSpareA  TEXT NOT NULL DEFAULT '',
    ThemeSpareB  TEXT NOT NULL DEFAULT '',
    ThemeSpareC  TEXT NOT NULL DEFAULT '',
    ThemeSpareD  TEXT NOT NULL DEFAULT '',
    ThemeSpareE  TEXT NOT NULL DEFAULT '',
    ThemeSpareF  TEXT,
    ThemeResult  TEXT NOT NULL,
    ZT           INTEGER NOT NULL DEFAULT 1,
    TT           TEXT
);
CREATE INDEX IX_THEME_DRAW ON T_KS_THEME (ThemePart, ThemeChapter, ThemeType, ZT);
CREATE INDEX IX_THEME_TT ON T_KS_THEME (TT);

CREATE TABLE T_KS_CHAPTER (
    ThemeChapter INTEGER PRIMARY KEY,
    THEMENAME    TEXT NOT NULL
);

CREATE TABLE T_KS_Model (
    ModelID     INTEGER PRIMARY KEY,
    IsUser      INTEGER NOT NULL DEFAULT 0,
    DirvesType  TEXT    NOT NULL,
    RandomTheme INTEGER,
    KSSJ        INTEGER
);

CREATE TABLE T_KS_ThemeModelContent (
    ContentID    INTEGER PRIMARY KEY,
    ModelID      INTEGER NOT NULL,
    ThemePart    INTEGER NOT NULL,
    ThemeChapter INTEGER NOT NULL,
    ThemeType    INTEGER NOT NULL,
    ThemeCount   INTEGER NOT NULL,
    SelectCount  INTEGER NOT NULL,
    ThemeBit     INTEGER NOT NULL,
    BitCount     INTEGER NOT NULL
);
CREATE INDEX IX_CONTENT_MODEL ON T_KS_ThemeModelContent (ModelID);

-- Why a question's key is right, and the names of the topics (ThemePart),
-- for the editor and a learning record; the exam itself reads neither.
CREATE TABLE T_KS_ThemeNote (
    ThemeID     INTEGER PRIMARY KEY,
    Explanation TEXT NOT NULL
);

CREATE TABLE T_KS_ThemePart (
    ThemePart INTEGER PRIMARY KEY,
    PARTNAME  TEXT NOT NULL
);

CREATE TABLE T_KS_ExamineTheme (
    ID           INTEGER NOT NULL,
    ExamineID    INTEGER NOT NULL,
    ThemeID      INTEGER,
    ThemePart    INTEGER,
    ThemeChapter INTEGER,
    ThemeType    INTEGER,
    ThemeContent TEXT,
    ThemeImage   BLOB,
    ThemeSpareA  TEXT,
    ThemeSpareB  TEXT,
    ThemeSpareC  TEXT,
    ThemeSpareD  TEXT,
    ThemeSpareE  TEXT,
    ThemeSpareF  TEXT,
    ThemeResult  TEXT,
    ThemeBit     INTEGER,
    AnswerResult VARCHAR(5),
    Yxx_St       TEXT,
    PRIMARY KEY (ExamineID, ID)
);

CREATE TABLE T_KS_ExamineTheme_TT (
    ID           INTEGER NOT NULL,
    ExamineID    INTEGER NOT NULL,
    ThemeID      INTEGER,
    ThemePart    INTEGER,
    ThemeChapter INTEGER,
    ThemeType    INTEGER,
    ThemeContent TEXT,
    ThemeImage   BLOB,
    ThemeSpareA  TEXT,
    ThemeSpareB  TEXT,
    ThemeSpareC  TEXT,
    ThemeSpareD  TEXT,
    ThemeSpareE  TEXT,
    ThemeSpareF  TEXT,
    ThemeResult  TEXT,
    ThemeBit     INTEGER,
    AnswerResult VARCHAR(5),
    Yxx_St       TEXT,
    PRIMARY KEY (ExamineID, ID)
);
