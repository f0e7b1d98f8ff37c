// The page around the game's canvas: fitting the picture to the window by
// whole factors, full screen, focus, touch controls and the end note. The
// game itself (quizzlebox.js) reads the keyboard and draws onto the canvas.
(function () {
'use strict';

const WIDTH = 696, HEIGHT = 479;
const canvas = document.getElementById('screen');
const stage = document.getElementById('stage');
const game = document.getElementById('game');

// What the test and the benchmarks read: when the game started, when the
// first frame reached the canvas, and when the latest did.
const pageTimes = { started: null, firstFrame: null, lastFrame: null, frames: 0 };

function showNote(text, offerRestart) {
  document.getElementById('note-text').textContent = text;
  document.getElementById('again').hidden = !offerRestart;
  document.getElementById('note').hidden = false;
}

const Module = {
  canvas: canvas,
  onRuntimeInitialized() {
    pageTimes.started = performance.now();
  },
  onFrame() {
    const now = performance.now();
    if (pageTimes.firstFrame === null) pageTimes.firstFrame = now;
    pageTimes.lastFrame = now;
    pageTimes.frames += 1;
    updateTouchKeys();
  },
  onGameEnded() {
    showNote('The game has ended.', true);
  },
  onAbort(what) {
    showNote('The game stopped: ' + what, true);
  },
};

// The game's script (loaded after this one) finds its settings here.
window.Module = Module;
window.qbPage = pageTimes;

// ---- the picture: as large as whole factors of device pixels allow ----

const help = document.getElementById('help');
const touchKeys = document.getElementById('touch-keys');

function fit() {
  const dpr = window.devicePixelRatio || 1;
  const full = document.fullscreenElement === game;
  const roomWidth = full ? game.clientWidth : document.documentElement.clientWidth;
  const roomHeight = (full ? game.clientHeight : window.innerHeight) - (touchKeys.hidden ? 0 : touchKeys.offsetHeight);
  const factor = Math.floor(Math.min(roomWidth * dpr / WIDTH, roomHeight * dpr / HEIGHT));
  // Whole factors of device pixels keep every picture pixel crisp and the
  // same size (an upright phone shows the picture small, one on its side
  // twice as large). Only a screen without room for even one device pixel
  // per picture pixel gets the picture shrunk to fit.
  const scale = factor >= 1 ? factor / dpr : Math.min(roomWidth / WIDTH, roomHeight / HEIGHT);
  const height = HEIGHT * scale;
  canvas.style.width = WIDTH * scale + 'px';
  canvas.style.height = height + 'px';
  // The help line shows under the picture when there is room for it, and
  // below the fold otherwise: the picture comes first.
  stage.style.height = (full ? roomHeight : Math.max(height, roomHeight - help.offsetHeight)) + 'px';
}
window.addEventListener('resize', fit);
document.addEventListener('fullscreenchange', fit);
fit();

// ---- full screen: Alt+Enter or the button ----

function toggleFullscreen() {
  if (document.fullscreenElement) document.exitFullscreen();
  else if (game.requestFullscreen) game.requestFullscreen().catch(() => {});
  canvas.focus();
}
document.getElementById('fullscreen').addEventListener('click', toggleFullscreen);
window.addEventListener('keydown', (e) => {
  if (e.altKey && !e.ctrlKey && e.key === 'Enter') {
    e.preventDefault();
    if (!e.repeat) toggleFullscreen();
  }
});

// ---- focus: a click or a key brings the keyboard to the game ----

stage.addEventListener('mousedown', () => canvas.focus());
window.addEventListener('keydown', () => {
  if (document.activeElement === document.body) canvas.focus();
}, true);
document.getElementById('again').addEventListener('click', () => location.reload());
canvas.focus();

// ---- touch: swipes walk, a tap goes on, buttons give the other keys ----

// A key press as the keyboard would give it; the game's key handler on the
// window takes it the same way.
function press(key) {
  const code = /^[a-z]$/.test(key) ? 'Key' + key.toUpperCase() : /^[0-9]$/.test(key) ? 'Digit' + key : key;
  window.dispatchEvent(new KeyboardEvent('keydown', { key: key, code: code, bubbles: true, cancelable: true }));
  window.dispatchEvent(new KeyboardEvent('keyup', { key: key, code: code, bubbles: true, cancelable: true }));
}

const digitKeys = document.getElementById('digit-keys');
function showTouchKeys() {
  if (!touchKeys.hidden) return;
  touchKeys.hidden = false;
  updateTouchKeys();
  fit();
}
if (window.matchMedia && window.matchMedia('(pointer: coarse)').matches) showTouchKeys();

// The digits are offered while the password screen is open.
function updateTouchKeys() {
  if (touchKeys.hidden || !Module._qb_screen) return;
  const wanted = Module.UTF8ToString(Module._qb_screen()) !== 'password';
  if (digitKeys.hidden !== wanted) {
    digitKeys.hidden = wanted;
    fit();
  }
}

for (const button of touchKeys.querySelectorAll('button')) {
  button.addEventListener('pointerdown', (e) => {
    e.preventDefault();
    press(button.dataset.key);
  });
}

// One step per stretch of this many CSS pixels along the swipe, so that a
// long swipe walks several cells.
const STEP_PX = 36;
let swipe = null;
stage.addEventListener('touchstart', (e) => {
  showTouchKeys();
  if (e.touches.length !== 1) return;
  const t = e.touches[0];
  swipe = { x: t.clientX, y: t.clientY, steps: 0 };
  e.preventDefault();
}, { passive: false });
stage.addEventListener('touchmove', (e) => {
  e.preventDefault();
  if (!swipe || e.touches.length !== 1) return;
  const t = e.touches[0];
  const dx = t.clientX - swipe.x, dy = t.clientY - swipe.y;
  if (Math.max(Math.abs(dx), Math.abs(dy)) < STEP_PX) return;
  if (Math.abs(dx) > Math.abs(dy)) press(dx > 0 ? 'ArrowRight' : 'ArrowLeft');
  else press(dy > 0 ? 'ArrowDown' : 'ArrowUp');
  swipe = { x: t.clientX, y: t.clientY, steps: swipe.steps + 1 };
}, { passive: false });
stage.addEventListener('touchend', (e) => {
  e.preventDefault();
  if (swipe && swipe.steps === 0) press(' ');
  swipe = null;
}, { passive: false });
stage.addEventListener('touchcancel', () => { swipe = null; });
})();
