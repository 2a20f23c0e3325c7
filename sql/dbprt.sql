-- The film archive: one row per film saved as an image file.
-- The program addresses the columns by position (id, prtdate, FilmPath) and
-- never creates, alters or empties the table; this script sets it up.
CREATE DATABASE IF NOT EXISTS dbprt CHARACTER SET gbk;
USE dbprt;
CREATE TABLE IF NOT EXISTS DBPRT (
  id       INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  prtdate  DATETIME NOT NULL,
  FilmPath VARCHAR(512) NOT NULL,
  KEY prtdate_index (prtdate)
) ENGINE=InnoDB DEFAULT CHARSET=gbk;
