-- Tables of orvendale.db3. Dates are stored as text "YYYY-MM-DD HH:MM:SS" so that they compare as text.
-- The settings table is created by the program's own updates at its first start.
CREATE TABLE TipologiaPersone (
  TIPOLOGIAID INTEGER PRIMARY KEY,
  Tipologia TEXT,
  DateTimeCreated TEXT,
  DateTimeLastUpdated TEXT
);
CREATE TABLE Anagrafica (
  ANAGRAFICAID INTEGER PRIMARY KEY,
  TIPOLOGIAID INTEGER,
  Nome TEXT,
  Cognome TEXT,
  Indirizzo TEXT,
  CAP TEXT,
  Comune TEXT,
  Provincia TEXT,
  TelefonoCasa TEXT,
  TelefonoUfficio TEXT,
  Fax TEXT,
  Cellulare TEXT,
  CFIva TEXT,
  Email TEXT,
  SitoWeb TEXT,
  NoteAnagrafica TEXT,
  NumeroTessera TEXT,
  DataNascita TEXT,
  DataIscrizione TEXT,
  DataScadenzaIscrizione TEXT,
  DateTimeCreated TEXT,
  DateTimeLastUpdated TEXT
);
CREATE TABLE Pagamenti (
  PagamentiID INTEGER PRIMARY KEY,
  ANAGRAFICAID INTEGER,
  DataPagamento TEXT,
  Importo INTEGER,
  Causale TEXT,
  NotePagamento TEXT,
  DateTimeCreated TEXT,
  DateTimeLastUpdated TEXT
);
CREATE TABLE Girate (
  PagamentiID INTEGER,
  ANAGRAFICAID INTEGER,
  GirataPiena INTEGER,
  DataGirata TEXT,
  DateTimeCreated TEXT,
  notegirata TEXT
);
CREATE TABLE Versamenti (
  PagamentiID INTEGER,
  CONTOCORRENTEID INTEGER,
  DataVersamento TEXT,
  noteversamento TEXT,
  DateTimeCreated TEXT
);
CREATE TABLE MieiContiCorrenti (
  CONTOCORRENTEID INTEGER PRIMARY KEY,
  Descrizione TEXT,
  Banca TEXT,
  ABI TEXT,
  CAB TEXT,
  NumeroConto TEXT,
  Intestatari TEXT,
  DateTimeCreated TEXT,
  DateTimeLastUpdated TEXT
);
CREATE TABLE AssegniEmessi (
  ASSEGNIEMESSIID INTEGER PRIMARY KEY,
  CONTOCORRENTEID INTEGER,
  ANAGRAFICAID INTEGER,
  Numero TEXT,
  DataAssegno TEXT,
  LuogoEmissione TEXT,
  SuPiazza INTEGER,
  Trasferibile INTEGER,
  Sbarrato INTEGER,
  Importo REAL,
  Causale TEXT,
  AssegnoNote TEXT,
  DateTimeCreated TEXT,
  DateTimeLastUpdated TEXT
);
CREATE TABLE reportistica (
  sqlreport TEXT,
  titolo TEXT,
  numparametri INTEGER,
  tipopar1 TEXT,
  tipopar2 TEXT,
  promptpar1 TEXT,
  promptpar2 TEXT,
  ordine INTEGER
);
