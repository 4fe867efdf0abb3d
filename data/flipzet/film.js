// film.js: plays the numbered pictures of a flip-book page made by Zorvat's "Flipzet".
// The page sets file, extension, minnr, maxnr and pauze and shows the image "film";
// its buttons call startvertoning, stopvertoning, vooruit, achteruit and selec.

var nummer = minnr;      // the picture on show (the start picture shows before any)
var richting = 1;        // 1 forward, -1 backward
var heenEnWeer = true;   // "Heen en weer": back and forth instead of round and round
var klok = null;         // the timer while the show runs
var voorraad = [];       // the pictures, loaded once

function plaatjeNaam(n) {
  return file + n + extension;
}

function film() {
  return document.images["film"];
}

function toon() {
  film().src = plaatjeNaam(nummer);
}

// onLoad of the page: the checkbox may have been left unticked by the browser.
function klaar() {
  var keus = document.getElementById("keus");
  heenEnWeer = keus ? keus.checked : true;
}

// Loads every picture once, so the show runs smoothly from the first pass.
function preload() {
  for (var n = minnr; n <= maxnr; n++) {
    var plaatje = new Image();
    plaatje.src = plaatjeNaam(n);
    voorraad.push(plaatje);
  }
}

// One step of the show: on to the next picture; at an end turn round or start over.
function stap() {
  if (maxnr <= minnr) {
    nummer = minnr;
  } else {
    var volgende = nummer + richting;
    if (volgende > maxnr || volgende < minnr) {
      if (heenEnWeer) {
        richting = -richting;
        volgende = nummer + richting;
      } else {
        volgende = richting > 0 ? minnr : maxnr;
      }
    }
    nummer = volgende;
  }
  toon();
}

function startvertoning() {
  stopvertoning();
  if (maxnr < minnr) return;
  toon();
  klok = setInterval(stap, Math.max(Number(pauze) || 0, 10));
}

function stopvertoning() {
  if (klok !== null) {
    clearInterval(klok);
    klok = null;
  }
}

// The step buttons halt the show and move by n pictures, no further than the ends.
function vooruit(n) {
  stopvertoning();
  if (maxnr < minnr) return;
  nummer = Math.min(maxnr, nummer + n);
  toon();
}

function achteruit(n) {
  stopvertoning();
  if (maxnr < minnr) return;
  nummer = Math.max(minnr, nummer - n);
  toon();
}

function selec(vakje) {
  heenEnWeer = vakje.checked;
  if (!heenEnWeer) richting = 1;
}
