// SPDX-License-Identifier: GPL-3.0-or-later
// The page's half of Gromzaks in a browser. The program (gromzaks.js + gromzaks.wasm) plays the
// game and draws the field into the canvas; the page shows everything else (the caption line,
// the menu bar, the boxes, the help window, the touch controls) and hands it the keys.
'use strict';

const $ = (id) => document.getElementById(id);
const game = $('game'), stage = $('stage'), bar = $('menubar'), message = $('message');

function element(tag, className, attributes = {}, text = '') {
  const made = document.createElement(tag);
  made.className = className;
  for (const [name, value] of Object.entries(attributes)) made.setAttribute(name, value);
  made.textContent = text;
  return made;
}

let program = null;            // the loaded module
let queue = Promise.resolve(); // the program runs one call at a time, boxes and all
let over = false;              // ended or broken: nothing more goes to the program

function say(text) { message.textContent = text; }

function stop(text) {
  if (over) return;
  over = true;
  game.hidden = true;
  document.querySelectorAll('.modal, .window').forEach((shown) => shown.remove());
  say(text);
}

function crash(error) {
  const text = error?.message ?? String(error);
  stop(program ? `Gromzaks s’est arrêté sur une erreur : ${text}\nPour rejouer, rechargez la page.`
               : `Gromzaks n’a pas pu démarrer dans ce navigateur :\n${text}`);
}

function focusGame() {
  stage.focus({ preventScroll: true });
}

const gromzaks = window.gromzaks = {
  canvas: $('field'),
  pictures: {},
  enter(name, ...args) {
    if (!program || over) return queue;
    queue = queue.then(() => over || program.ccall(name, null, args.map(() => 'number'), args, { async: true }))
      .catch(crash);
    return queue;
  },
  caption(text) {
    $('caption').textContent = text;
    document.title = text.replaceAll(' ', '\u00a0'); // a title's spaces would collapse
  },
  menus(json) { showMenus(JSON.parse(json)); },
  messageBox(prompt, style, title) {
    const yesNo = (style & 7) === 4;
    return openBox(title, prompt, icons[style & 112] ?? '',
                   yesNo ? [['Oui', () => 6], ['Non', () => 7]] : [['OK', () => 1]]);
  },
  inputBox(prompt, title, proposed) {
    const field = element('input', '', { type: 'text', autocomplete: 'off' });
    field.value = proposed;
    return openBox(title, prompt, '', [['OK', () => field.value], ['Annuler', () => '']], field);
  },
  showHelp,
  started() {
    say('');
    game.classList.remove('loading');
    focusGame();
  },
  ended() { stop('La partie est terminée.\nPour rejouer, rechargez la page.'); },
};

// The keys. They go to the game unless a box is open, the menu bar is active or the help window
// has the focus; Alt alone or F10 makes the menu bar active, as on the desktop.
const codes = { ArrowLeft: 37, ArrowRight: 39, ' ': 32 };
let altAlone = false;

const gameHasKeys = () => !boxes.length && !menu.active && !$('help')?.contains(document.activeElement);

addEventListener('keydown', (event) => {
  if (event.key !== 'Alt') altAlone = false;
  else if (!event.repeat) altAlone = true;
  if (event.key === 'Alt' || event.key === 'F10') event.preventDefault();
  if (boxes.length) return boxKey(event);
  if (event.key === 'F10') return toggleBar();
  if (menu.active) return barKey(event);
  if (!gameHasKeys()) return;
  const code = codes[event.key] ?? 0;
  if (code) event.preventDefault();
  gromzaks.enter('keyDown', code);
});

addEventListener('keyup', (event) => {
  if (event.key === 'Alt') {
    event.preventDefault();
    if (altAlone && !boxes.length) {
      altAlone = false;
      return toggleBar();
    }
  }
  if (gameHasKeys()) gromzaks.enter('keyUp', codes[event.key] ?? 0);
});

// A key let go elsewhere would leave the ship flying on its own.
addEventListener('blur', (event) => { if (event.target === window) gromzaks.enter('keyUp', 0); });
document.addEventListener('visibilitychange', () => {
  if (document.hidden) gromzaks.enter('keyUp', 0);
  gromzaks.enter('visibility', document.hidden ? 1 : 0);
});

// The menu bar: the program's menus, with which entry is highlighted and whether its drop-down
// is open. A mouse, a finger and the keys all move the same highlight.
let tops = [];
const menu = { active: false, top: 0, open: false, item: -1 };
const canOpen = (t) => tops[t].enabled && tops[t].items.length > 0;
const canChoose = (t, i) => tops[t].enabled && (i < 0 ? !tops[t].items.length : tops[t].items[i].enabled);

// The next enabled item from `from` in the direction `step`, round the end; -1 when none is.
function nextItem(t, from, step) {
  const items = tops[t].items, n = items.length;
  let i = from < 0 && step < 0 ? n : from;
  for (let k = 0; k < n; k++) {
    i = (i + step + n) % n;
    if (items[i].enabled) return i;
  }
  return -1;
}

function showMenus(list) {
  if (list) {
    const same = list.length === tops.length && list.every((top, t) => top.items.length === tops[t].items.length);
    tops = list;
    if (!same) buildMenus();
    if (!same && menu.active) leaveBar(true);
    if (menu.item >= 0 && !canChoose(menu.top, menu.item)) menu.item = nextItem(menu.top, menu.item, 1);
  }
  [...bar.children].forEach((entry, t) => {
    const top = tops[t], expanded = menu.active && menu.open && menu.top === t && canOpen(t);
    entry.querySelector('.label').textContent = top.caption;
    entry.setAttribute('aria-disabled', !top.enabled);
    entry.setAttribute('aria-expanded', expanded);
    entry.classList.toggle('current', menu.active && menu.top === t);
    entry.querySelectorAll('.item').forEach((shown, i) => {
      const item = top.items[i];
      shown.querySelector('.label').textContent = item.caption;
      shown.setAttribute('role', item.checked ? 'menuitemcheckbox' : 'menuitem');
      shown.setAttribute('aria-disabled', !item.enabled);
      shown.setAttribute('aria-checked', item.checked);
      shown.classList.toggle('current', expanded && menu.item === i);
    });
  });
}

function buildMenus() {
  bar.replaceChildren(...tops.map((top, t) => {
    const entry = element('div', 'menu', { role: 'menuitem' });
    entry.append(element('span', 'label'));
    entry.addEventListener('click', () => clickTop(t));
    entry.addEventListener('pointerenter', (event) => {
      if (event.pointerType === 'mouse' && menu.active && menu.open && menu.top !== t) {
        Object.assign(menu, { top: t, item: -1 });
        showMenus();
      }
    });
    if (!top.items.length) return entry;
    const items = element('div', 'items', { role: 'menu' });
    items.addEventListener('click', (event) => event.stopPropagation());
    top.items.forEach((_, i) => {
      const item = element('div', 'item');
      item.append(element('span', 'label'));
      item.addEventListener('click', () => choose(t, i));
      item.addEventListener('pointermove', () => {
        menu.item = canChoose(t, i) ? i : -1;
        showMenus();
      });
      items.append(item);
    });
    entry.setAttribute('aria-haspopup', 'menu');
    entry.append(items);
    return entry;
  }));
}

function enterBar(t, open) {
  if (!menu.active) {
    gromzaks.enter('keyUp', 0);
    bar.focus({ preventScroll: true });
  }
  Object.assign(menu, { active: true, top: t, open, item: -1 });
  showMenus();
}

function leaveBar(toGame) {
  Object.assign(menu, { active: false, open: false, item: -1 });
  showMenus();
  if (toGame) focusGame();
}

function toggleBar() {
  if (menu.active) leaveBar(true);
  else if (tops.length) enterBar(0, false);
}

function choose(t, i) {
  if (!canChoose(t, i)) return;
  leaveBar(true);
  gromzaks.enter('choose', t, i);
}

function clickTop(t) {
  if (!tops[t].items.length) choose(t, -1);
  else if (menu.active && menu.open && menu.top === t) leaveBar(true);
  else if (canOpen(t)) enterBar(t, true);
}

function barKey(event) {
  const t = menu.top;
  if (['ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', 'Enter', ' ', 'Escape'].includes(event.key)) {
    event.preventDefault(); // a box opened by a choice must not take this key too
  }
  switch (event.key) {
    case 'ArrowLeft':
    case 'ArrowRight':
      menu.top = (t + (event.key === 'ArrowLeft' ? tops.length - 1 : 1)) % tops.length;
      menu.item = menu.open ? nextItem(menu.top, -1, 1) : -1;
      break;
    case 'ArrowUp':
    case 'ArrowDown':
      if (menu.open) menu.item = nextItem(t, menu.item, event.key === 'ArrowUp' ? -1 : 1);
      else if (canOpen(t)) Object.assign(menu, { open: true, item: nextItem(t, -1, 1) });
      break;
    case 'Enter':
    case ' ':
      if (menu.open && menu.item >= 0) return choose(t, menu.item);
      if (!tops[t].items.length) return choose(t, -1);
      if (canOpen(t)) Object.assign(menu, { open: true, item: nextItem(t, -1, 1) });
      break;
    case 'Escape':
      if (menu.open && canOpen(t)) menu.open = false;
      else leaveBar(true);
      break;
  }
  showMenus();
}

// A press anywhere else closes the menus, as on the desktop.
document.addEventListener('pointerdown', (event) => {
  if (menu.active && !bar.contains(event.target)) leaveBar(false);
}, true);

// The boxes: modal, each over an overlay that takes the clicks meant for the game. The first
// button is the default answer (Return), the last the answer to Escape.
const boxes = [];
let boxesMade = 0;
const icon = (body) => `<svg viewBox="0 0 32 32" aria-hidden="true">${body}</svg>`;
const icons = {
  16: icon('<circle cx="16" cy="16" r="15" fill="#d22"/><path d="m10 10 12 12m0-12-12 12" stroke="#fff" stroke-width="3.5"/>'),
  48: icon('<path d="M16 2 31 29H1z" fill="#f4c20d" stroke="#7a5c00" stroke-linejoin="round"/><path d="M16 10v10m0 3v3" stroke="#000" stroke-width="3"/>'),
  64: icon('<circle cx="16" cy="16" r="15" fill="#2a6fd6"/><path d="M16 13v11m0-16v3" stroke="#fff" stroke-width="3.5"/>'),
};

function openBox(title, prompt, picture, answers, field) {
  if (menu.active) leaveBar(false);
  gromzaks.enter('keyUp', 0);
  return new Promise((resolve) => {
    const modal = element('div', 'modal');
    modal.addEventListener('mousedown', (event) => { if (event.target === modal) event.preventDefault(); }); // the box keeps the focus
    const win = element('div', 'window box', { role: 'dialog', 'aria-modal': 'true', tabindex: '-1',
                                               id: `box-${++boxesMade}`, 'data-title': title });
    const body = element('div', 'body');
    body.innerHTML = picture;
    body.append(element('div', 'prompt', {}, prompt.replace(/\r\n?/g, '\n')));
    const buttons = element('div', 'buttons');
    const box = { win, answers, answer(choice) {
      if (!modal.isConnected) return;
      modal.remove();
      boxes.splice(boxes.indexOf(box), 1);
      if (!boxes.length) focusGame();
      resolve(choice());
    } };
    for (const [word, choice] of answers) {
      const button = element('button', '', { type: 'button' }, word);
      button.addEventListener('click', () => box.answer(choice));
      buttons.append(button);
    }
    win.append(element('div', 'title', {}, title), body, ...(field ? [field] : []), buttons);
    modal.append(win);
    document.body.append(modal);
    boxes.push(box);
    if (field) {
      field.focus();
      field.select();
    } else {
      buttons.firstChild.focus();
    }
  });
}

function boxKey(event) {
  const box = boxes.at(-1), focused = document.activeElement;
  if (event.key === 'Escape') {
    box.answer(box.answers.at(-1)[1]);
  } else if (event.key === 'Enter') {
    if (focused.tagName === 'BUTTON' && box.win.contains(focused)) focused.click();
    else box.answer(box.answers[0][1]);
  } else if (event.key === 'Tab') {
    const stops = [...box.win.querySelectorAll('input, button')], at = stops.indexOf(focused);
    stops[at < 0 ? 0 : (at + (event.shiftKey ? -1 : 1) + stops.length) % stops.length].focus();
  } else {
    return;
  }
  event.preventDefault();
}

// The help window, laid out as the program gives it in twips; one at a time, not modal.
function showHelp(json) {
  let help = $('help');
  if (!help) {
    const form = JSON.parse(json), px = (twips) => Math.round(twips / 15);
    help = element('div', 'window', { role: 'dialog', id: 'help', tabindex: '-1', 'data-title': form.caption });
    const title = element('div', 'title', {}, form.caption);
    const inside = element('div', 'inside');
    inside.style.width = `${px(form.width)}px`;
    inside.style.height = `${px(form.height)}px`;
    for (const control of form.controls) {
      const [width, height] = [px(control.width), px(control.height)];
      let shown;
      if (control.kind === 'picture') {
        shown = Object.assign(document.createElement('canvas'), { width, height });
        const pen = shown.getContext('2d'), picture = gromzaks.pictures[control.content];
        pen.fillRect(0, 0, width, height);
        if (picture) pen.drawImage(picture, 0, 0);
      } else if (control.kind === 'button') {
        shown = element('button', '', { type: 'button' }, control.content);
        shown.addEventListener('click', () => { help.remove(); focusGame(); });
      } else {
        shown = element('div', 'text', {}, control.content);
      }
      shown.dataset.name = control.name;
      Object.assign(shown.style, { left: `${px(control.left)}px`, top: `${px(control.top)}px`,
                                   width: `${width}px`, height: `${height}px` });
      inside.append(shown);
    }
    help.append(title, inside);
    document.body.append(help);
    fitTexts(inside);
    fitHelp();
    dragBy(title, help);
  }
  document.body.append(help); // to the front
  help.querySelector('button').focus();
}

// One font size for every text of the help window: the largest at which each shows whole.
function fitTexts(inside) {
  const texts = [...inside.querySelectorAll('.text')];
  for (let size = 12; size >= 6; size -= 0.5) {
    inside.style.fontSize = `${size}px`;
    if (texts.every((text) => text.scrollHeight <= text.clientHeight && text.scrollWidth <= text.clientWidth)) break;
  }
}

// On a phone the help window is shrunk to the screen, or its OK button would be out of reach.
// Until it is moved it stands in the middle, at whole pixels, so that its pictures stay crisp.
function fitHelp() {
  const help = $('help');
  if (!help) return;
  const scale = Math.min(1, innerWidth / help.offsetWidth, innerHeight / help.offsetHeight);
  help.style.setProperty('--scale', scale);
  if (help.dataset.moved) return;
  help.style.left = `${Math.round((innerWidth - help.offsetWidth * scale) / 2)}px`;
  help.style.top = `${Math.round((innerHeight - help.offsetHeight * scale) / 2)}px`;
}

// Moves a window by its title bar, a whole pixel at a time.
function dragBy(handle, win) {
  handle.addEventListener('pointerdown', (event) => {
    const place = win.getBoundingClientRect();
    const dx = event.clientX - place.left, dy = event.clientY - place.top;
    const move = (to) => {
      win.dataset.moved = 'yes';
      Object.assign(win.style, { left: `${Math.round(to.clientX - dx)}px`, top: `${Math.round(to.clientY - dy)}px` });
    };
    handle.setPointerCapture(event.pointerId);
    handle.addEventListener('pointermove', move);
    handle.addEventListener('lostpointercapture', () => handle.removeEventListener('pointermove', move), { once: true });
  });
}

// The touch controls hold a key down for as long as the thumb stays on them.
for (const [id, code] of [['touch-left', 37], ['touch-right', 39], ['touch-fire', 32]]) {
  const button = $(id);
  let held = false;
  button.addEventListener('pointerdown', (event) => {
    event.preventDefault();
    button.setPointerCapture(event.pointerId);
    focusGame();
    if (held) return;
    held = true;
    button.classList.add('pressed');
    gromzaks.enter('keyDown', code);
  });
  const release = () => {
    if (!held) return;
    held = false;
    button.classList.remove('pressed');
    gromzaks.enter('keyUp', code);
  };
  for (const type of ['pointerup', 'pointercancel', 'lostpointercapture']) button.addEventListener(type, release);
}
game.addEventListener('contextmenu', (event) => event.preventDefault());
stage.addEventListener('pointerdown', focusGame);

const coarse = matchMedia('(pointer: coarse)');
const checkTouch = () => document.documentElement.classList.toggle('touch', coarse.matches || navigator.maxTouchPoints > 0);
coarse.addEventListener('change', checkTouch);
checkTouch();

// The program fits the field to the stage in device pixels; it is told each time that changes.
let given = '';
function layout() {
  fitHelp();
  if (!program || over) return;
  const place = stage.getBoundingClientRect(), ratio = devicePixelRatio;
  const size = [Math.floor(place.width * ratio), Math.floor(place.height * ratio)];
  if (String(size) === given) return placeField();
  const first = !given;
  given = String(size);
  gromzaks.enter(first ? 'start' : 'resize', ...size).then(placeField);
}

// The field in the middle of the stage, its corner on a whole pixel of the screen: anywhere
// else the browser would blend each of its pixels with its neighbours.
function placeField() {
  const field = gromzaks.canvas, place = stage.getBoundingClientRect(), ratio = devicePixelRatio;
  const middle = (start, room, size) => Math.round(start * ratio + (room * ratio - size) / 2) / ratio - start;
  field.style.left = `${middle(place.left, place.width, field.width)}px`;
  field.style.top = `${middle(place.top, place.height, field.height)}px`;
}
new ResizeObserver(layout).observe(stage);
addEventListener('resize', layout);
addEventListener('orientationchange', layout);
window.visualViewport?.addEventListener('resize', layout);
(function watchRatio() {
  matchMedia(`(resolution: ${devicePixelRatio}dppx)`).addEventListener('change', () => {
    layout();
    watchRatio();
  }, { once: true });
})();

// Loading: the program's script, then the program itself.
say('Chargement de Gromzaks…');
window.focus(); // the keys go to the game without a click first
if (typeof WebAssembly !== 'object') {
  crash('il ne connaît pas WebAssembly.');
} else {
  const script = document.createElement('script');
  script.src = 'gromzaks.js';
  script.onerror = () => crash('gromzaks.js ne se charge pas.');
  script.onload = () => Promise.resolve()
    .then(() => Gromzaks({ print: console.log, printErr: console.warn, onAbort: crash, locateFile: (file) => file }))
    .then((loaded) => {
      program = loaded;
      layout();
    }, crash);
  document.head.append(script);
}
navigator.serviceWorker?.register('sw.js').catch(() => {});
